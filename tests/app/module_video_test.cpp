#include "config_sli.h"
#include "diaporama.h"
#include "ecran.h"
#include "fichier_sli.h"
#include "module_video.h"
#include "script_systeme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(ModuleVideo, SeTrouveACoteDuProgrammeSinonDansLibVistarama)
{
    const QString installe = QStringLiteral(VISTA_DOSSIER_MODULES "/vistarama-export-video.so");
    struct Cas { const char *nom; QString present; QString attendu; };
    const Cas cas[] = {
        {"construction", "bin/vistarama-export-video.so", "bin/vistarama-export-video.so"},
        {"installe", installe, installe},
        {"absent", {}, installe},
    };
    for (const Cas &c : cas) {
        const DossierTemporaire dossier;
        QDir(dossier.chemin()).mkpath(QStringLiteral("bin"));
        if (!c.present.isEmpty()) {
            QDir(dossier.chemin()).mkpath(QFileInfo(dossier.chemin(c.present)).path());
            QFile(dossier.chemin(c.present)).open(QIODevice::WriteOnly);
        }
        EXPECT_EQ(chemin_module_video(dossier.chemin("bin")), dossier.chemin(c.attendu)) << c.nom;
    }
}

TEST(ModuleVideo, UnModuleAbsentOuIllisibleLeDitDansUneBoite)
{
    const DossierTemporaire dossier;
    QFile texte(dossier.chemin("texte.so"));
    ASSERT_TRUE(texte.open(QIODevice::WriteOnly) && texte.write("pas un module") > 0);
    texte.close();
    struct Cas { QString module; QString raison; };
    const Cas cas[] = {
        {dossier.chemin("absent.so"), QStringLiteral("Le fichier %1 est introuvable.").arg(dossier.chemin("absent.so"))},
        {dossier.chemin("texte.so"), QStringLiteral("Le fichier %1 ne peut pas être chargé : ").arg(dossier.chemin("texte.so"))},
    };
    for (const Cas &c : cas) {
        ScriptSysteme script;
        exporte_par_le_module(nullptr, false, c.module);
        ASSERT_EQ(script.boites.size(), 1);
        EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
        EXPECT_TRUE(script.boites[0].texte.startsWith(
            QStringLiteral("L'exportation en vidéo n'est pas installée.\n\n") + c.raison))
            << script.boites[0].texte.toStdString();
    }
}

// The module sees the program's open slideshow, settings and seam, not copies of its own.
TEST(ModuleVideo, LeModuleExporteLeDiaporamaOuvertDuProgramme)
{
    const DossierTemporaire dossier;
    ScriptSysteme script;
    const ReglagesPresentation avant = reglages;
    reglages.delai = 1;
    ouvre_fichier_sli(dossier.chemin("un.sli"));
    ajoute_fiche();
    ecrit_fiche(1);
    ferme_fichier_sli();
    ASSERT_TRUE(Diaporama::courant().ouvre(dossier.chemin("un.sli")));
    script.fichiers.push_back(dossier.chemin("un.mp4"));
    exporte_par_le_module(nullptr, false, QStringLiteral(VISTA_MODULE_VIDEO));
    Diaporama::courant().oublie();
    reglages = avant;
    EXPECT_EQ(script.textes_boites(),
              QStringList{QStringLiteral("La vidéo est enregistrée dans %1").arg(dossier.chemin("un.mp4"))});
    EXPECT_GT(QFileInfo(dossier.chemin("un.mp4")).size(), 0);
}

}  // namespace
