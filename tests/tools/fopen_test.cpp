#include "ControlesFichiers.h"
#include "Fnormal.h"
#include "Fopen.h"
#include "TMultiP.h"
#include "ecran.h"
#include "script_systeme.h"
#include "systeme_fichiers.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace {

TEST(Apercu, UneImageTropGrandeEstReduiteEtCentreeDansLeCadre)
{
    const struct {
        QSize image;
        bool etire;
        QRect attendu;
    } cas[] = {
        {{400, 300}, true, {17, 44, 209, 156}},
        {{210, 210}, false, {17, 17, 210, 210}},
        {{211, 100}, true, {17, 72, 209, 99}},
        {{300, 300}, true, {17, 17, 209, 209}},  // square: the height leads
        {{0, 0}, false, {122, 122, 0, 0}},
    };
    for (const auto &c : cas) {
        const PlacementApercu p = place_apercu(c.image, QSize(240, 240));
        EXPECT_EQ(p.etire, c.etire) << c.image.width();
        EXPECT_EQ(p.rectangle, c.attendu) << c.image.width();
    }
}

TEST(Masque, LesMotifsIgnorentLaCasse)
{
    const QString masque = QStringLiteral("*.jpg;*.tif;*.gif;*.pcx;*.bmp;*.scm;*.png");
    EXPECT_TRUE(correspond_au_masque(QStringLiteral("PHOTO.JPG"), masque));
    EXPECT_TRUE(correspond_au_masque(QStringLiteral("photo.jpg"), masque));
    EXPECT_FALSE(correspond_au_masque(QStringLiteral("photo.jpeg"), masque));
    EXPECT_FALSE(correspond_au_masque(QStringLiteral("notes.txt"), masque));
}

class Navigateur : public ::testing::Test {
protected:
    void SetUp() override
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        for (const char *nom : {"PHOTO.JPG", "photo.png", "notes.txt"})
            image.save(dossier.chemin(QString::fromLatin1(nom)), QFileInfo(nom).suffix().toUpper() == "TXT" ? "PNG" : nullptr);
        QDir(dossier.chemin()).mkdir(QStringLiteral("sous"));
        fenetre.FileListBox1->Update();  // the files came after the window
    }

    void choisit(const QString &nom)
    {
        const auto trouves = fenetre.FileListBox1->findItems(nom, Qt::MatchExactly);
        ASSERT_EQ(trouves.size(), 1) << nom.toStdString();
        fenetre.FileListBox1->setCurrentItem(trouves.first());
    }

    DossierTemporaire dossier;  // the current folder: the browser starts there
    ScriptSysteme script;
    Tnormal normal;
    Touvre_image fenetre{&normal};
};

TEST_F(Navigateur, SansLaCaseRienNeSeChargeMaisLeResultatSuitLaSelection)
{
    EXPECT_EQ(fenetre.FileListBox1->count(), 2);  // PHOTO.JPG and photo.png, not notes.txt
    choisit(QStringLiteral("PHOTO.JPG"));
    EXPECT_EQ(fenetre.fichier_image, dossier.chemin(QStringLiteral("PHOTO.JPG")));
    EXPECT_TRUE(fenetre.MultiImage1->Picture().isEmpty());
    EXPECT_FALSE(fenetre.zoom_bt->isEnabled());

    fenetre.Label3D1Click();  // the caption does what the box does
    EXPECT_TRUE(fenetre.CheckBox1->isChecked());
    EXPECT_EQ(fenetre.MultiImage1->Picture().size(), QSize(256, 192));  // a thumbnail; the zoom reads it whole
    EXPECT_EQ(fenetre.MultiImage1->geometry(), QRect(17, 44, 209, 156));
    EXPECT_TRUE(fenetre.zoom_bt->isEnabled());
    fenetre.show();
    capture_ecran(&fenetre, QStringLiteral("navigateur"));

    script.dialogues.push_back([](QDialog &d) {
        capture_ecran(&d, QStringLiteral("taille_normale"));
        return int(QDialog::Accepted);
    });
    fenetre.zoom_bt->click();
    EXPECT_EQ(normal.image->Picture().size(), QSize(400, 300));
    EXPECT_EQ(normal.image->geometry(), QRect(0, 0, 400, 300));

    fenetre.CheckBox1->click();
    EXPECT_TRUE(fenetre.MultiImage1->Picture().isEmpty());
    EXPECT_FALSE(fenetre.zoom_bt->isEnabled());
}

TEST_F(Navigateur, ParcourirLaListeNeChargeQueLeFichierOuLOnSArrete)
{
    fenetre.CheckBox1->click();
    // Damaged: had it been read on the way, its failure would show.
    QFile abime(dossier.chemin(QStringLiteral("PHOTO.JPG")));
    ASSERT_TRUE(abime.open(QIODevice::WriteOnly));
    abime.write("pas une image");
    abime.close();
    choisit(QStringLiteral("PHOTO.JPG"));
    choisit(QStringLiteral("photo.png"));
    EXPECT_EQ(fenetre.fichier_image, dossier.chemin(QStringLiteral("photo.png")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.boites.isEmpty());
    EXPECT_EQ(fenetre.MultiImage1->Picture().size(), QSize(256, 192));
    EXPECT_EQ(fenetre.MultiImage1->geometry(), QRect(17, 44, 209, 156));
}

TEST_F(Navigateur, OKSansFichierDemandeSiLImageDoitEtreEffacee)
{
    struct Cas { bool confirme; bool choisi; std::optional<int> reponse; bool fermee; };
    for (const Cas &c : {Cas{true, false, systeme::Annuler, false}, Cas{true, false, systeme::OK, true},
                         Cas{true, true, {}, true}, Cas{false, false, {}, true}}) {
        fenetre.confirme_sans_fichier = c.confirme;
        fenetre.fichier_image = c.choisi ? dossier.chemin(QStringLiteral("photo.png")) : QString();
        script.boites.clear();
        if (c.reponse)
            script.reponses.push_back(*c.reponse);
        fenetre.setResult(-1);
        fenetre.show();
        fenetre.OKBtn->click();
        EXPECT_EQ(script.textes_boites(),
                  c.reponse ? QStringList{"Désirez-vous affacer cette image"} : QStringList{});
        EXPECT_EQ(fenetre.result() == QDialog::Accepted, c.fermee) << c.confirme << c.choisi;
        fenetre.hide();
    }
}

TEST_F(Navigateur, ChangerDeDossierOuDeFiltreNeLaisseAucunFichierChoisi)
{
    choisit(QStringLiteral("photo.png"));
    ASSERT_FALSE(fenetre.fichier_image.isEmpty());
    emit fenetre.FilterComboBox1->Change(QStringLiteral("*.png"));
    EXPECT_TRUE(fenetre.fichier_image.isEmpty());
    EXPECT_EQ(fenetre.FileListBox1->count(), 1);

    choisit(QStringLiteral("photo.png"));
    ASSERT_TRUE(fenetre.DirectoryListBox1->setDirectory(dossier.chemin(QStringLiteral("sous"))));
    emit fenetre.DirectoryListBox1->Change(fenetre.DirectoryListBox1->Directory());
    EXPECT_TRUE(fenetre.fichier_image.isEmpty());
    EXPECT_EQ(fenetre.FileListBox1->count(), 0);
}

TEST_F(Navigateur, UnDossierIlisibleEstSignaleEtLaListeGardeSonEtat)
{
    const QString avant = fenetre.DirectoryListBox1->Directory();
    EXPECT_FALSE(fenetre.DirectoryListBox1->setDirectory(dossier.chemin(QStringLiteral("absent"))));
    EXPECT_EQ(fenetre.DirectoryListBox1->Directory(), avant);
    EXPECT_TRUE(script.textes_boites().last().contains(QStringLiteral("ne peut pas être lu")));
}

}  // namespace
