#include "script_systeme.h"

#include <QDateTime>
#include <QDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
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

namespace {

// Without a printer each printing asks for its PDF, and a file already there is replaced only when allowed.
TEST(Impression, ChaqueImpressionDemandeSonFichierEtNeRemplaceRienSansAccord)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed";
    ScriptSysteme script;
    QTemporaryDir dossier;
    const QString a = dossier.filePath(QStringLiteral("a.pdf"));
    const QString a2 = dossier.filePath(QStringLiteral("a-2.pdf"));
    systeme::imprimante().setOutputFileName(QString());
    const auto imprime = [](int documents) {
        return systeme::imprime_documents(documents, [](QPainter &p, int) { p.drawText(100, 100, "x"); });
    };
    script.fichiers = {a, a, a};
    ASSERT_TRUE(imprime(2));
    const QDateTime premiere = QFileInfo(a2).lastModified();
    script.reponses = {systeme::Annuler};
    EXPECT_FALSE(imprime(2));
    EXPECT_EQ(QFileInfo(a2).lastModified(), premiere);
    EXPECT_TRUE(script.textes_boites().last().contains(QStringLiteral("a.pdf")));
    script.reponses = {systeme::OK};
    EXPECT_TRUE(imprime(1));
    EXPECT_EQ(script.demandes.size(), 3);
}

}  // namespace
