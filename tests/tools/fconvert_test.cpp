#include "ControlesFichiers.h"
#include "Danhint.h"
#include "Fconvert.h"
#include "TMultiP.h"
#include "jpegflip.h"
#include "ecran.h"
#include "plan_conversion.h"
#include "script_systeme.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(PlanConversion, DuBasVersLeHautSousLeNomDeBaseEnMajuscules)
{
    const QList<ConversionFichier> plan = plan_conversion(
        {"photo1.bmp", "Vacances.ete.png", "Vacances.hiver.png"}, "/src/Mes Photos", "/dest/Sortie", ".JPG");
    ASSERT_EQ(plan.size(), 3);
    EXPECT_EQ(plan[0].source, "/src/Mes Photos/Vacances.hiver.png");
    EXPECT_EQ(plan[0].cible, "/dest/Sortie/VACANCES.JPG");
    EXPECT_EQ(plan[1].cible, "/dest/Sortie/VACANCES.JPG");  // the upper one is written last and stays
    EXPECT_EQ(plan[2].source, "/src/Mes Photos/photo1.bmp");
    EXPECT_EQ(plan[2].cible, "/dest/Sortie/PHOTO1.JPG");
}

class Lot : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(dossier.chemin()).mkdir("dest");
        QImage rouge(40, 30, QImage::Format_RGB32);
        rouge.fill(Qt::red);
        rouge.save(dossier.chemin("photo1.bmp"), "BMP");
        QImage bleu(40, 30, QImage::Format_RGB32);
        bleu.fill(Qt::blue);
        bleu.save(dossier.chemin("photo1.x.bmp"), "BMP");
        QFile casse(dossier.chemin("abime.png"));
        casse.open(QIODevice::WriteOnly);
        casse.write("pas une image");
        casse.close();
        fenetre.FileListBox1->Update();
        fenetre.DirectoryListBox2->setDirectory(dossier.chemin("dest"));
        fenetre.FileListBox2->setDirectory(dossier.chemin("dest"));
    }
    void choisit(const QStringList &noms)
    {
        for (const QString &nom : noms)
            fenetre.FileListBox1->findItems(nom, Qt::MatchExactly).value(0)->setSelected(true);
    }
    QStringList sorties() const { return QDir(dossier.chemin("dest")).entryList(QDir::Files); }

    DossierTemporaire dossier;
    ScriptSysteme script;
    TConversion_images fenetre;
};

TEST_F(Lot, SansSelectionRienNEstEcrit)
{
    fenetre.convert->click();
    EXPECT_TRUE(sorties().isEmpty());
}

TEST_F(Lot, LesSourcesQuiSeRencontrentGardentLaPlusHauteEtUnFichierIlisibleNArretePasLaBoucle)
{
    choisit({"abime.png", "photo1.bmp", "photo1.x.bmp"});
    fenetre.QualitySpin->setValue(0);
    fenetre.convert->click();
    EXPECT_EQ(sorties(), QStringList{"PHOTO1.JPG"});
    EXPECT_EQ(fenetre.FileListBox2->count(), 1);  // the destination list read again
    const QImage resultat(dossier.chemin("dest/PHOTO1.JPG"));
    EXPECT_GT(qRed(resultat.pixel(20, 15)), 200);  // photo1.bmp, nearer the top, was written last
    QFile jpeg(dossier.chemin("dest/PHOTO1.JPG"));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    EXPECT_EQ(sky::jpegQuality(jpeg.readAll()), 25);  // the spin's 0 falls back to 25
    // The damaged file reported once, by its name.
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_TRUE(script.boites[0].texte.contains(dossier.chemin("abime.png"))) << script.boites[0].texte.toStdString();
}

TEST_F(Lot, ArreterGardeLesFichiersFaitsEtNeSignaleRien)
{
    for (int k = 2; k <= 9; ++k)
        QFile::copy(dossier.chemin("photo1.bmp"), dossier.chemin(QStringLiteral("photo%1.bmp").arg(k)));
    fenetre.FileListBox1->Update();
    const QStringList neuf{"photo1.bmp", "photo2.bmp", "photo3.bmp", "photo4.bmp", "photo5.bmp",
                           "photo6.bmp", "photo7.bmp", "photo8.bmp", "photo9.bmp"};
    choisit(neuf);
    EXPECT_FALSE(fenetre.arreter->isEnabled());
    bool actif = false;
    const auto lien = QObject::connect(fenetre.gauge1, &QProgressBar::valueChanged, [&](int valeur) {
        if (valeur > 0 && !actif) {
            actif = fenetre.arreter->isEnabled();
            fenetre.arreter->click();
        }
    });
    fenetre.convert->click();
    EXPECT_TRUE(actif);
    EXPECT_FALSE(fenetre.arreter->isEnabled());
    EXPECT_GE(sorties().size(), 1);
    EXPECT_LT(sorties().size(), 9);
    EXPECT_TRUE(script.boites.isEmpty());
    // The next conversion runs whole.
    QObject::disconnect(lien);
    choisit(neuf);
    fenetre.convert->click();
    EXPECT_EQ(sorties().size(), 9);
}

// The window stays, and the batch goes to its end, when its closing button is
// clicked while the batch runs: the wait holds the user's input back.
TEST_F(Lot, UnClicSurSortirPendantLeLotNeFaitRien)
{
    QImage grande(2400, 1800, QImage::Format_RGB32);
    grande.fill(Qt::green);
    ASSERT_TRUE(grande.save(dossier.chemin("grande.bmp"), "BMP"));
    fenetre.FileListBox1->Update();
    choisit({"grande.bmp", "photo1.bmp"});
    fenetre.CTOPNG->click();
    fenetre.show();
    bool clique = false;
    QTimer::singleShot(0, &fenetre, [&] {
        QTest::mouseClick(fenetre.BitBtn1, Qt::LeftButton);
        clique = true;
    });
    fenetre.convert->click();
    ASSERT_TRUE(clique);
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_EQ(sorties(), (QStringList{"GRANDE.PNG", "PHOTO1.PNG"}));
}

TEST_F(Lot, LeFiltreNeChangeQueLaListeSource)
{
    fenetre.DirectoryListBox2->setDirectory(dossier.chemin());
    fenetre.FileListBox2->setDirectory(dossier.chemin());
    fenetre.ComboBox1->setEditText("*.PNG");
    EXPECT_EQ(fenetre.FileListBox1->count(), 1);
    EXPECT_EQ(fenetre.FileListBox2->count(), 3);
    fenetre.CTOTIF->click();
    EXPECT_TRUE(fenetre.TiffCombo->isVisibleTo(&fenetre));
    EXPECT_FALSE(fenetre.QualitySpin->isVisibleTo(&fenetre));
    fenetre.show();
    capture_ecran(&fenetre, "conversion_lot");
}

}  // namespace

namespace {

// While the batch window is on the screen its controls show no balloon; after, they do again.
// Destroyed, it leaves no progress routine pointing at its gauge.
TEST(LotFenetre, SansBullesPendantQuElleEstMontreeEtSansRoutineDeProgresApres)
{
    TDanHint danhint;
    auto *fenetre = new TConversion_images;
    const auto bulle_sur_convert = [&] {
        QHelpEvent aide(QEvent::ToolTip, QPoint(5, 5), fenetre->convert->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(fenetre->convert, &aide);
        const bool vue = fenetre_bulle()->isVisible();
        fenetre_bulle()->hide();
        return vue;
    };
    fenetre->show();
    EXPECT_FALSE(bulle_sur_convert());
    fenetre->hide();
    EXPECT_TRUE(bulle_sur_convert());
    ProgressCallback = [](int) { return 1; };
    delete fenetre;
    EXPECT_FALSE(ProgressCallback);
}

}  // namespace
