#include "Option.h"
#include "Optiong.h"
#include "couleurs.h"
#include "ecran.h"
#include "fichier_sli.h"
#include "script_systeme.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        fiche = FicheDiapo{};
        fiche.couleur_texte = 0x0000FF;
        fiche.style_texte = 2;
        fiche.taille_texte = 14;
        fiche.police.affecte("Arial");
        fiche.couleur_fond = 0x00FF00;
        fiche.position_texte = 1;
    }
    ScriptSysteme script;
};

TEST_F(Options, LaPoliceChoisieEstStockeeAvecSonStyleEtSonNomCoupe)
{
    Toption_affichage dialogue;
    QFont gras_souligne(QString(45, QLatin1Char('N')), 20);
    gras_souligne.setBold(true);
    gras_souligne.setUnderline(true);
    script.polices.push_back(gras_souligne);
    script.couleurs.push_back(QColor(0x12, 0x34, 0x56));
    QTest::mouseClick(dialogue.couleur_texte, Qt::LeftButton);
    EXPECT_EQ(fiche.style_texte, 1);
    EXPECT_EQ(fiche.taille_texte, 20);
    EXPECT_EQ(fiche.police.valeur(), QString(40, QLatin1Char('N')));
    EXPECT_EQ(qint32(fiche.couleur_texte), 0x563412);

    QFont italique(QStringLiteral("Times New Roman"), 9);
    italique.setItalic(true);
    script.polices.push_back(italique);
    script.couleurs.push_back(std::nullopt);  // the text colour kept
    QTest::mouseClick(dialogue.couleur_texte, Qt::LeftButton);
    EXPECT_EQ(fiche.style_texte, 3);
    EXPECT_EQ(qint32(fiche.couleur_texte), 0x563412);
}

// The real font chooser, confirmed as it opens, gives back each stored style and name.
TEST_F(Options, LeChoixDePoliceConfirmeTelQuelGardeLeStyleEtLeNom)
{
    systeme::seams().choisir_police = [](const QFont &initiale, QWidget *) -> std::optional<QFont> {
        QFontDialog choix;
        choix.setCurrentFont(initiale);
        return choix.currentFont();
    };
    Toption_affichage dialogue;
    for (const qint16 style : {1, 2, 3, 4}) {
        fiche.style_texte = style;
        script.couleurs.push_back(std::nullopt);
        QTest::mouseClick(dialogue.couleur_texte, Qt::LeftButton);
        EXPECT_EQ(fiche.style_texte, style);
        EXPECT_EQ(fiche.police.valeur(), QStringLiteral("Arial"));
        EXPECT_EQ(fiche.taille_texte, 14);
    }
}

TEST_F(Options, UnDialogueAnnuleNeChangeRien)
{
    Toption_affichage dialogue;
    const FicheDiapo avant = fiche;
    script.polices.push_back(std::nullopt);
    script.couleurs.push_back(std::nullopt);
    QTest::mouseClick(dialogue.couleur_texte, Qt::LeftButton);
    QTest::mouseClick(dialogue.couleur_fond, Qt::LeftButton);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(&fiche), sizeof fiche),
              QByteArray(reinterpret_cast<const char *>(&avant), sizeof avant));
    script.couleurs.push_back(QColor(Qt::red));
    QTest::mouseClick(dialogue.couleur_fond, Qt::LeftButton);
    EXPECT_EQ(qint32(fiche.couleur_fond), 0x0000FF);
}

TEST_F(Options, LaPositionEtLeFondNeSontStockesQueParOK)
{
    Toption_affichage dialogue;
    dialogue.principale = QRect(100, 50, 1000, 700);
    fiche.position_texte = 7;  // any value but 1 reads as the bottom
    dialogue.show();
    capture_ecran(&dialogue, "option_affichage");
    // Its client area centred on the main window (the dialog is as wide as its caption needs).
    EXPECT_EQ(dialogue.geometry().topLeft(), QPoint(100 + (1000 - dialogue.width()) / 2, 50 + 239));
    EXPECT_TRUE(dialogue.en_bas->isChecked());
    QTest::mouseClick(dialogue.transparent, Qt::LeftButton);
    dialogue.close();
    EXPECT_EQ(fiche.fond_transparent, 0);
    EXPECT_EQ(fiche.position_texte, 7);

    fiche.position_texte = 1;
    dialogue.show();
    EXPECT_TRUE(dialogue.en_haut->isChecked());
    dialogue.en_bas->click();
    dialogue.transparent->setChecked(true);
    QTest::mouseClick(dialogue.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(fiche.position_texte, 2);
    EXPECT_EQ(fiche.fond_transparent, 1);
}

TEST_F(Options, LeDialogueGeneralStockeToutesLesDiapositives)
{
    Toption_affichage_general dialogue;
    fiche.toutes_diapos = 0;
    dialogue.show();
    capture_ecran(&dialogue, "option_affichage_general");
    EXPECT_FALSE(dialogue.tout->isChecked());
    dialogue.tout->setChecked(true);
    QTest::mouseClick(dialogue.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(fiche.toutes_diapos, 1);
    EXPECT_EQ(fiche.position_texte, 1);
    dialogue.fichier_aide = "DOC.HLP";
    QTest::keyClick(&dialogue, Qt::Key_F1);
    EXPECT_EQ(script.aides, (QList<QPair<QString, int>>{{"DOC.HLP", 6}}));
}

}  // namespace
