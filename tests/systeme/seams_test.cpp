#include "script_systeme.h"

#include <QDialog>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// Every seam that waits on a person or a device fails the test when it was not scripted.
TEST(Seams, UnAppelNonPrevuFaitEchouerLeTestSansOuvrirDeDialogue)
{
    EXPECT_NONFATAL_FAILURE(
        {
            QDialog d;
            EXPECT_EQ(systeme::execute(d), int(QDialog::Rejected));
        },
        "dialogue modal");
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(systeme::choisir_dossier(nullptr, "x", {}).isEmpty()),
                            "choix d'un dossier");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(systeme::choisir_couleur(Qt::red, nullptr)), "couleur");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(systeme::configure_imprimante(nullptr)), "imprimante");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(systeme::lance_programme("/bin/true", {})), "programme");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(systeme::choisir_source_scanner({"test:0"}, nullptr), -1),
                            "scanner");
}

TEST(Seams, UneReponsePrevueEstDonneeUneFoisPuisLeScriptEstRetire)
{
    {
        ScriptSysteme script;
        script.dialogues.push_back([](QDialog &d) {
            d.setWindowTitle("vu");
            return int(QDialog::Accepted);
        });
        script.lancements_reussis.push_back(true);
        QDialog d;
        d.setObjectName("essai");
        EXPECT_EQ(systeme::execute(d), int(QDialog::Accepted));
        EXPECT_EQ(d.windowTitle(), "vu");
        EXPECT_TRUE(systeme::lance_programme("/bin/prog", {"a"}, "/tmp"));
        EXPECT_EQ(script.dialogues_montres, QStringList{"essai"});
        ASSERT_EQ(script.lancements.size(), 1);
        EXPECT_EQ(script.lancements[0].programme, "/bin/prog");
    }
    // The script of the whole test program is back: still no real dialog.
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(systeme::choisir_dossier(nullptr, "x", {}).isEmpty()),
                            "dossier");
}

}  // namespace
