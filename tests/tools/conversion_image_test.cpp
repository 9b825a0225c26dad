#include "Bimage.h"
#include "TMultiP.h"
#include "ecran.h"
#include "fichier_sli.h"
#include "formats_outils.h"
#include "jpegflip.h"
#include "script_systeme.h"

#include <QDir>
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

class Conversion : public ::testing::Test {
protected:
    // A 400 x 300 picture saved under `nom`, as the slide's picture.
    QString photo(const QString &nom, const char *format, int qualite = -1)
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        const QString chemin = dossier.chemin(nom);
        EXPECT_TRUE(image.save(chemin, format, qualite));
        fiche.chemin_image.affecte(chemin);
        fenetre.MultiImage1->setImageName(chemin);
        return chemin;
    }
    void montre()
    {
        fenetre.show();
        fenetre.hide();
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    Tconversion fenetre;
};

TEST_F(Conversion, ApercuPlaceEtMemeFormatReecritEnQualite100)
{
    const QString chemin = photo("PHOTO.JPG", "JPG", 50);
    fenetre.show();
    EXPECT_EQ(fenetre.MultiImage1->geometry(), QRect(17, 51, 269, 201));
    EXPECT_EQ(fenetre.windowTitle(), "CONVERSION DE " + chemin);
    capture_ecran(&fenetre, "conversion_image");
    fenetre.Convert->click();
    EXPECT_TRUE(fenetre.converti);
    EXPECT_EQ(fenetre.nouveau_nom, chemin);
    EXPECT_EQ(sky::jpegQuality(contenu(chemin)), 100);
    EXPECT_EQ(QDir(dossier.chemin()).entryList(QDir::Files).size(), 1);
}

TEST(NomConverti, LesQuatreDerniersCaracteresSontRemplaces)
{
    EXPECT_EQ(nom_converti("/d/VACANCES.BMP", ".JPG"), "/d/VACANCES.JPG");
    EXPECT_EQ(nom_converti("/d/PHOTO.JPEG", ".BMP"), "/d/PHOTO..BMP");
    EXPECT_EQ(nom_converti("A.B", ".PNG"), ".PNG");
}

TEST_F(Conversion, UnAutreFormatEcritACoteEtLaFenetreRemontreeRepartDeZero)
{
    photo("vue.png", "PNG");
    montre();
    fenetre.CTOBMP->click();
    fenetre.Convert->click();
    EXPECT_TRUE(fenetre.converti);
    EXPECT_EQ(fenetre.nouveau_nom, dossier.chemin("vue.BMP"));
    EXPECT_TRUE(contenu(dossier.chemin("vue.BMP")).startsWith("BM"));
    EXPECT_EQ(fenetre.windowTitle(), "CONVERSION DE " + dossier.chemin("vue.BMP"));
    montre();
    EXPECT_FALSE(fenetre.converti);
}

TEST_F(Conversion, UneEcritureManqueeNeDonneAucunNom)
{
    photo("PHOTO.PNG", "PNG");
    QDir(dossier.chemin()).mkdir("PHOTO.GIF");  // a folder where the file should go
    montre();
    fenetre.CTOGIF->click();
    fenetre.Convert->click();
    EXPECT_FALSE(fenetre.converti);
    EXPECT_TRUE(fenetre.nouveau_nom.isEmpty());
    EXPECT_FALSE(script.boites.isEmpty());
}

}  // namespace

TEST_F(Conversion, UneImageIllisibleNEstEcriteSousAucunNom)
{
    photo("AVANT.JPG", "JPG");  // the slide shown before
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString longue = dossier.chemin("PHOTO2.JPEG");
    ASSERT_TRUE(image.save(longue, "JPG", 90));
    const QByteArray entiere = contenu(longue);
    const QString coupee = dossier.chemin("COUPEE.JPG");
    QFile fichier(coupee);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(entiere.left(entiere.size() / 2));
    fichier.close();
    const QStringList avant = QDir(dossier.chemin()).entryList(QDir::Files);

    const struct {
        QString chemin;
        QString message;
    } cas[] = {
        {longue, "Type de fichier image non reconnu : " + QDir::toNativeSeparators(longue)},
        {coupee, FailureWithFile(sky::Truncated, coupee)},
    };
    fenetre.CTOPNG->setChecked(true);
    for (const auto &c : cas) {
        SCOPED_TRACE(c.chemin.toStdString());
        fiche.chemin_image.affecte(c.chemin);
        script.boites.clear();
        fenetre.Convert->click();
        EXPECT_FALSE(fenetre.converti);
        EXPECT_EQ(QDir(dossier.chemin()).entryList(QDir::Files), avant);
        ASSERT_FALSE(script.boites.isEmpty());
        EXPECT_EQ(script.boites.last().texte, c.message + "\nL'image n'est pas convertie.");
    }
}
