#include "Bimage.h"
#include "Ftraite.h"
#include "TMultiP.h"
#include "ecran.h"
#include "diaporama.h"
#include "fichier_sli.h"
#include "imagefile.h"
#include "jpegflip.h"
#include "script_systeme.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

QByteArray contenu(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Top half red, bottom half blue, left quarter green: every turn shows.
QImage motif(int largeur, int hauteur)
{
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    for (int y = 0; y < hauteur; ++y)
        for (int x = 0; x < largeur; ++x)
            image.setPixel(x, y, x < largeur / 4 ? qRgb(0, 200, 0) : y < hauteur / 2 ? qRgb(220, 0, 0) : qRgb(0, 0, 220));
    return image;
}

class Traitement : public ::testing::Test {
protected:
    // The slide's picture `nom` (`largeur` x `hauteur`), given to the window as the caller gives it.
    QString diapo(const QString &nom, int largeur, int hauteur, const char *format = nullptr, int qualite = -1)
    {
        const QString chemin = dossier.chemin(nom);
        EXPECT_TRUE(motif(largeur, hauteur).save(chemin, format, qualite));
        fiche.chemin_image.affecte(chemin);
        TPMultiImage lecteur;
        lecteur.setImageName(chemin);
        fenetre.image->setPicture(lecteur.Picture());
        fenetre.show();
        return chemin;
    }
    void TearDown() override { ProgressCallback = nullptr; }

    DossierTemporaire dossier;
    ScriptSysteme script;
    Tconversion conversion;
    Ttraitement fenetre{&conversion};
};

TEST_F(Traitement, DeuxRetournementsRendentLImageEtLaLegendeDonneLeNomCourt)
{
    diapo("vue.png", 40, 30, "PNG");
    EXPECT_EQ(fenetre.windowTitle(), "Manipulation de l'image  -  vue.png");
    const QImage avant = fenetre.image->Picture().image();
    fenetre.BitBtn12->click();
    EXPECT_EQ(fenetre.image->Picture().image().pixel(20, 0), avant.pixel(20, 29));
    fenetre.BitBtn12->click();
    EXPECT_EQ(fenetre.image->Picture().image(), avant);
    EXPECT_EQ(nom_court(""), "Pas de photo");
}

TEST_F(Traitement, UnJpegRetourneEstDeplaceSansPerteOuReencodeAuMoinsEnQualite25)
{
    // 400 x 304 is a whole number of coding blocks: the coded data is moved as it is.
    const QString entier = diapo("ENTIER.JPG", 400, 304, "JPG", 90);
    fenetre.BitBtn12->click();
    fenetre.pivote_bt->click();
    fenetre.BitBtn2->click();
    const QByteArray tourne = contenu(entier);
    EXPECT_EQ(sky::jpegQuality(tourne), 90);
    const QImage relu = QImage::fromData(tourne);
    EXPECT_GT(qGreen(relu.pixel(395, 150)), 150);  // the green quarter is now on the right
    EXPECT_GT(qRed(relu.pixel(200, 290)), 150);    // red now at the bottom
    // 401 x 301 is not: encoded again, never below 25 even when the file had less.
    const QString bord = diapo("BORD.JPG", 401, 301, "JPG", 10);
    fenetre.BitBtn12->click();
    fenetre.BitBtn2->click();
    EXPECT_EQ(sky::jpegQuality(contenu(bord)), 25);
    EXPECT_GT(qRed(QImage(bord).pixel(200, 290)), 150);
}

TEST_F(Traitement, UneAutreFinDonneUnBitmapEtUneGrandeImageEstEnregistreeEntiere)
{
    diapo("vue.png", 40, 30, "PNG");
    const QString scm = dossier.chemin("message.scm");
    fiche.chemin_image.affecte(scm);
    fenetre.BitBtn2->click();
    EXPECT_TRUE(contenu(scm).startsWith("BM"));
    const QString grande = diapo("GRANDE.PNG", 3000, 2500, "PNG");
    fenetre.pivote_bt->click();
    fenetre.BitBtn2->click();
    const QImage relue(grande);
    EXPECT_EQ(relue.size(), QSize(3000, 2500));
    EXPECT_GT(qGreen(relue.pixel(2990, 2490)), 150);
}

TEST_F(Traitement, UneEcritureInterrompueLaisseLeFichier)
{
    const QString chemin = diapo("VUE.PNG", 300, 200, "PNG");
    const QByteArray avant = contenu(chemin);
    fenetre.BitBtn12->click();
    ProgressCallback = [](int pourcentage) { return pourcentage < 50 ? 1 : 0; };
    fenetre.BitBtn2->click();
    EXPECT_EQ(contenu(chemin), avant);
    EXPECT_FALSE(script.boites.isEmpty());
}

TEST_F(Traitement, LaConversionChangeLaDiapoSeulementQuandElleAEteFaite)
{
    Diaporama &document = Diaporama::courant();
    ASSERT_TRUE(document.ouvre(dossier.chemin("d.sli")));
    document.ajoute();
    fenetre.numero_diapo = document.courante();
    const QString chemin = diapo("VUE.PNG", 40, 30, "PNG");
    ecrit_fiche(fenetre.numero_diapo);
    QWidget *parent_ouverte = nullptr;
    script.dialogues.push_back([&](QDialog &d) {
        parent_ouverte = d.parentWidget();
        return int(QDialog::Accepted);
    });
    fenetre.BitBtn1->click();
    // Above the manipulation window while open, given back to its owner after.
    EXPECT_EQ(parent_ouverte, &fenetre);
    EXPECT_EQ(conversion.parentWidget(), nullptr);
    lit_fiche(fenetre.numero_diapo);
    EXPECT_EQ(fiche.chemin_image.valeur(), chemin);
    EXPECT_EQ(fenetre.windowTitle(), "Manipulation de l'image  -  VUE.PNG");

    script.dialogues.push_back([](QDialog &d) {
        auto &c = static_cast<Tconversion &>(d);
        c.show();
        c.CTOBMP->click();
        c.Convert->click();
        return int(QDialog::Accepted);
    });
    fenetre.BitBtn1->click();
    lit_fiche(fenetre.numero_diapo);
    EXPECT_EQ(fiche.chemin_image.valeur(), dossier.chemin("VUE.BMP"));
    EXPECT_EQ(fenetre.windowTitle(), "Manipulation de l'image  -  VUE.BMP");
    QCoreApplication::processEvents();
    capture_ecran(&fenetre, "traitement");
    document.ferme();
}

}  // namespace

TEST_F(Traitement, UneImageLueEnPartieNEstJamaisEnregistree)
{
    const QString chemin = diapo("COUPEE.JPG", 300, 200, "JPG", 90);
    const QByteArray entiere = contenu(chemin);
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(entiere.left(entiere.size() / 2));
    fichier.close();
    TPMultiImage lecteur;
    lecteur.setImageName(chemin);
    ASSERT_FALSE(lecteur.Picture().isEmpty());
    fenetre.image->setPicture(lecteur.Picture());
    script.boites.clear();

    fenetre.BitBtn12->click();
    fenetre.BitBtn2->click();
    EXPECT_EQ(contenu(chemin), entiere.left(entiere.size() / 2));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_TRUE(script.boites[0].texte.startsWith(FailureWithFile(sky::Truncated, chemin)))
        << script.boites[0].texte.toStdString();
}
