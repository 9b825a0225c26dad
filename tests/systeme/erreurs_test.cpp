#include "erreurs.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

// Only the errors the run-time table names get its texts; any other keeps its own number.
TEST(Erreurs, SeulesLesErreursNommeesPrennentLeTexteDeLaTable)
{
    const struct {
        int numero;
        const char *texte;
    } cas[] = {
        {ENOENT, "Fichier introuvable"},   {EACCES, "Accès au fichier refusé"},
        {EROFS, "Accès au fichier refusé"}, {ENOSPC, "Disque plein"},
        {EIO, "Erreur E/S 5"},             {ENOTDIR, "Erreur E/S 20"},
        {EMFILE, "Erreur E/S 24"},
    };
    for (const auto &c : cas) {
        try {
            erreurs::leve_errno(c.numero);
        } catch (const erreurs::ErreurES &e) {
            EXPECT_EQ(e.texte(), QString::fromUtf8(c.texte)) << c.numero;
        }
    }
}

}  // namespace
