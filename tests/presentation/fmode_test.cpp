#include "Fmode.h"
#include "config_sli.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

class Mode : public ::testing::Test {
protected:
    void SetUp() override { fixe_dossier_config(dossier.chemin() + QLatin1Char('/')); }

    // The dialog shown on the stored settings; what it leaves is stored, however it closes.
    void montre() { lit_config(); dialogue.show(); }
    void ferme() { dialogue.hide(); sauve_config(); }
    QList<qint16> stockes()
    {
        QFile f(chemin_config());
        f.open(QIODevice::ReadOnly);
        const QByteArray o = f.readAll();
        EXPECT_EQ(o.size(), 49);
        return {qFromLittleEndian<qint16>(o.constData() + 43), qFromLittleEndian<qint16>(o.constData() + 45),
                qFromLittleEndian<qint16>(o.constData() + 47)};
    }
    void tape_delai(const QString &texte)
    {
        QLineEdit *edit = dialogue.delai->findChild<QLineEdit *>();
        edit->selectAll();
        QTest::keyClicks(edit, texte);
    }

    DossierTemporaire dossier;
    Tmode dialogue;
};

TEST_F(Mode, UnPremierLancementMontreAutomatiqueSourisDixSecondes)
{
    montre();
    capture_ecran(&dialogue, "mode");
    EXPECT_TRUE(dialogue.automatique->isChecked());
    EXPECT_EQ(dialogue.delai->value(), 10);
    EXPECT_EQ(dialogue.b1->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(dialogue.b2->frameShadow(), QFrame::Raised);
    ScriptSysteme script;
    dialogue.fichier_aide = "DOC.HLP";
    QTest::keyClick(&dialogue, Qt::Key_F1);
    EXPECT_EQ(script.aides, (QList<QPair<QString, int>>{{"DOC.HLP", 8}}));
    ferme();
    EXPECT_EQ(stockes(), (QList<qint16>{2, 1, 10}));
}

TEST_F(Mode, ManuelActiveLesPeripheriquesEtAutomatiqueLeDelai)
{
    montre();
    QTest::mouseClick(dialogue.manuel, Qt::LeftButton);
    EXPECT_TRUE(dialogue.b1->isEnabled() && dialogue.b2->isEnabled());
    EXPECT_FALSE(dialogue.delai->isEnabled());
    QTest::mouseClick(dialogue.automatique, Qt::LeftButton);
    EXPECT_FALSE(dialogue.b1->isEnabled() || dialogue.b2->isEnabled());
    EXPECT_TRUE(dialogue.delai->isEnabled());
}

TEST_F(Mode, LeDelaiTapeEstTenuEntreUnEtSoixanteParOK)
{
    for (const auto &[texte, stocke] : {std::pair{"75", 60}, std::pair{"0", 1}, std::pair{"25", 25}}) {
        montre();
        tape_delai(QString::fromLatin1(texte));
        QTest::mouseClick(dialogue.BitBtn1, Qt::LeftButton);
        EXPECT_FALSE(dialogue.isVisible());
        ferme();
        EXPECT_EQ(stockes()[2], stocke) << texte;
    }
}

TEST_F(Mode, LaCaseDeFermetureGardeLePeripheriqueEtLeDelaiPasLeMode)
{
    montre();
    QTest::mouseClick(dialogue.manuel, Qt::LeftButton);
    QTest::mouseClick(dialogue.b2, Qt::LeftButton);
    EXPECT_EQ(dialogue.b2->frameShadow(), QFrame::Sunken);
    QTest::mouseClick(dialogue.automatique, Qt::LeftButton);
    tape_delai("33");
    dialogue.close();
    ferme();
    EXPECT_EQ(stockes(), (QList<qint16>{2, 2, 33}));
    // OK commits the mode.
    montre();
    QTest::mouseClick(dialogue.manuel, Qt::LeftButton);
    QTest::mouseClick(dialogue.BitBtn1, Qt::LeftButton);
    ferme();
    EXPECT_EQ(stockes(), (QList<qint16>{1, 2, 33}));
    // A delay set with the arrows is kept as well.
    montre();
    QTest::mouseClick(dialogue.automatique, Qt::LeftButton);
    QTest::keyClick(dialogue.delai, Qt::Key_Up);
    QTest::keyClick(dialogue.delai, Qt::Key_Up);
    dialogue.close();
    ferme();
    EXPECT_EQ(stockes()[2], 35);
}

TEST_F(Mode, LAttenteDeLaFinDuSonVaAvecLAutomatiqueEtSeGardeCommeLeDelai)
{
    montre();
    EXPECT_FALSE(dialogue.attendre_fin_son->isChecked());
    QTest::mouseClick(dialogue.manuel, Qt::LeftButton);
    EXPECT_FALSE(dialogue.attendre_fin_son->isEnabled());
    QTest::mouseClick(dialogue.automatique, Qt::LeftButton);
    ASSERT_TRUE(dialogue.attendre_fin_son->isEnabled());
    dialogue.attendre_fin_son->click();
    dialogue.close();
    ferme();
    QFile f(chemin_config());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(1), QByteArray(1, 1));
    reglages = ReglagesPresentation{};
    montre();
    EXPECT_TRUE(dialogue.attendre_fin_son->isChecked());
    // Its whole caption shows.
    EXPECT_GE(dialogue.attendre_fin_son->width(), dialogue.attendre_fin_son->sizeHint().width());
}

}  // namespace
