#include "duree_son.h"
#include "ecran.h"
#include "son_wav.h"

#include <gtest/gtest.h>

namespace {

TEST(DureeSon, LaLongueurDuSonSeLitDansLEnteteDuFichierWave)
{
    QByteArray avec_liste = son_wav(1500);
    // A chunk of odd length before the data is skipped with its padding byte.
    avec_liste.insert(36, QByteArray("LIST\x03\0\0\0abc\0", 12));
    const QByteArray pas_wave = QByteArray(son_wav(1000)).replace(8, 4, "AVI ");
    struct Cas { const char *nom; QByteArray octets; int attendue; };
    const Cas cas[] = {
        {"trois_secondes", son_wav(3000), 3000},
        {"liste_avant_les_donnees", avec_liste, 1500},
        {"coupe", son_wav(2000, {}, 8000 * 60), 2000},
        {"pas_wave", pas_wave, 0},
        {"debit_nul", son_wav(1000, {}, -1, 0), 0},
        {"entete_seul", son_wav(1000).left(30), 0},
        {"vide", QByteArray(), 0},
    };
    const DossierTemporaire dossier;
    for (const Cas &c : cas) {
        const QString chemin = dossier.chemin(QString::fromLatin1(c.nom) + ".wav");
        ASSERT_TRUE(ecrit_fichier(chemin, c.octets));
        EXPECT_EQ(systeme::duree_son_wav(chemin), c.attendue) << c.nom;
    }
    EXPECT_EQ(systeme::duree_son_wav(dossier.chemin("absent.wav")), 0);
}

}  // namespace
