// The printed scenario and picture: pages printed to PDF through the shared
// printer, read back with pdftotext -bbox, positions in tenths of a millimetre.
#include "impression.h"
#include "Fgauge.h"
#include "Fprint.h"
#include "Fsauve.h"
#include "application.h"
#include "fichier_sli.h"
#include "main.h"
#include "reglages_scanner.h"
#include "sane_test.h"
#include "sky.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct Mot {
    QString texte;
    double x, y;  // top-left, tenths of a millimetre
};

// The words of a PDF file with their boxes.
QList<Mot> mots(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished();
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression mot(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    QList<Mot> trouves;
    for (const auto &m : mot.globalMatch(html))
        trouves.append({m.captured(3).replace(QStringLiteral("&apos;"), QStringLiteral("'")),
                        m.captured(1).toDouble() * 254 / 72, m.captured(2).toDouble() * 254 / 72});
    return trouves;
}

std::optional<Mot> premier(const QList<Mot> &liste, const QString &texte)
{
    for (const Mot &m : liste)
        if (m.texte == texte)
            return m;
    return std::nullopt;
}

// A text's first word within a millimetre of (x, y); x < 0: on that line anywhere.
void attendu_a(const QList<Mot> &liste, const QString &texte, int x, int y)
{
    const auto m = premier(liste, texte);
    ASSERT_TRUE(m) << texte.toStdString();
    if (x >= 0) {
        EXPECT_NEAR(m->x, x, 10) << texte.toStdString();
    }
    EXPECT_NEAR(m->y, y, 10) << texte.toStdString();
}

}  // namespace

TEST(Impression, PagesEtRangeesDuScenario)
{
    const struct {
        int fiches, pages, derniere_page_pleine;
    } cas[] = {{1, 0, 0}, {6, 2, 1}, {9, 2, 4}, {10, 3, 1}};  // fiches counts record 0
    for (const auto &c : cas) {
        EXPECT_EQ(pages_scenario(c.fiches - 1), c.pages) << c.fiches;
        int remplies = 0;
        for (int r = 0; r < kDiaposParPage; ++r)
            remplies += diapo_de_la_rangee(c.pages, r, c.fiches) > 0;
        EXPECT_EQ(remplies, c.derniere_page_pleine) << c.fiches;
    }
    EXPECT_EQ(diapo_de_la_rangee(2, 0, 6), 5);
}

TEST(Impression, LesTextesDuScenarioSontALeurPlace)
{
    ScriptSysteme script;
    RangeeScenario diapo{5, QStringLiteral("/photos/plage.jpg"), QStringLiteral("/sons/vague.wav"),
                         {QStringLiteral("premiere"), QStringLiteral("deuxieme")}};
    ASSERT_TRUE(systeme::imprime_documents(1, [&](QPainter &p, int) {
        dessine_cadre_scenario(p, 2, 2, QStringLiteral("DEMO.SLI"));
        dessine_rangee_scenario(p, 1, diapo);
    }));
    const QList<Mot> page = mots(script.pdf_imprime());
    attendu_a(page, QStringLiteral("2/2"), 50, 50);
    attendu_a(page, QStringLiteral("DEMO.SLI"), -1, 50);
    attendu_a(page, QStringLiteral("Diapositive"), 750, 650 + 210);
    attendu_a(page, QStringLiteral("n°5"), -1, 650 + 210);
    attendu_a(page, QStringLiteral("L'image"), 750, 650 + 350);
    attendu_a(page, QStringLiteral("/photos/plage.jpg"), 1000, 650 + 350);
    attendu_a(page, QStringLiteral("Le"), 750, 650 + 450);
    attendu_a(page, QStringLiteral("/sons/vague.wav"), 950, 650 + 450);
    attendu_a(page, QStringLiteral("commentaire"), -1, 650 + 550);
    attendu_a(page, QStringLiteral("premiere"), 750, 650 + 600);
    attendu_a(page, QStringLiteral("deuxieme"), 750, 650 + 650);
}

TEST(Impression, UnCommentaireLongEstCoupeACinqLignes)
{
    const QString long_ = QStringLiteral("mot ").repeated(200);
    const QStringList lignes = lignes_commentaire(long_, QFont(QStringLiteral("Liberation Sans"), 9), 396);
    EXPECT_EQ(lignes.size(), kLignesCommentaire);
    EXPECT_TRUE(lignes_commentaire(QString(), QFont(), 396).join(QString()).isEmpty());
}

TEST(Impression, UnMotSansEspaceEtLesCheminsLongsRestentDansLeCadre)
{
    const QFont ecran(QStringLiteral("Liberation Sans"), 9);
    const QStringList lignes = lignes_commentaire(QString(255, QChar(0xE9)), ecran, 396);
    EXPECT_GT(lignes.size(), 1);
    for (const QString &ligne : lignes)
        EXPECT_LE(QFontMetrics(ecran).horizontalAdvance(ligne), 396);
    const QString chemin = QStringLiteral("C:\\") + QString(77, QLatin1Char('W'));  // 80 characters
    QImage page(2100, 2970, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        dessine_cadre_scenario(p, 1, 1, QStringLiteral("DEMO.SLI"));
        dessine_rangee_scenario(p, 0, {1, chemin, chemin, lignes});
        dessine_chemin_image(p, chemin);
    }
    int dehors = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 2004; x < page.width(); ++x)
            dehors += qGray(page.pixel(x, y)) < 128;
    EXPECT_EQ(dehors, 0);
}

TEST(Impression, ImageAuZoomEtCentree)
{
    EXPECT_EQ(place_image_imprimee(QSize(1000, 800), 0.5, true, true), QRect(775, 1150, 500, 400));
    EXPECT_EQ(place_image_imprimee(QSize(1000, 800), 1.0, false, false), QRect(50, 50, 1000, 800));
    // Row 2 of the scenario: a landscape picture fitted into 650 x 650, centred in its cell.
    const QRect r = place_image_scenario(2, QSize(1300, 650));
    EXPECT_LE(r.width(), 650);
    EXPECT_EQ(r.left(), int((650 - r.width()) * 0.5) + 50);
    EXPECT_EQ(r.top(), int((650 - r.height()) * 0.5) + 200 + 1300);
}

namespace {

// Images in a PDF file (pdfimages -list: two header lines, then one line each).
int images(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    p.waitForFinished();
    return int(QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(QLatin1Char('\n')).size()) - 2;
}

// The PDF of the n-th document (from 0) of the last print command.
QString document(const ScriptSysteme &script, int n)
{
    const QFileInfo premier(script.pdf_imprime());
    return n == 0 ? premier.filePath()
                  : premier.dir().filePath(QStringLiteral("%1-%2.pdf").arg(premier.completeBaseName()).arg(n + 1));
}

class ImpressionFenetre : public ::testing::Test {
protected:
    void SetUp() override
    {
        titre_application = QStringLiteral("Slideshow V2.32");
        forme = std::make_unique<TForm1>();
        QImage photo(200, 100, QImage::Format_RGB888);
        photo.fill(Qt::darkCyan);
        ASSERT_TRUE(sky::succeeded(sky::writeBmp(dossier.chemin("vraie.bmp"), 24, photo, {})));
    }
    void TearDown() override
    {
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
        forme.reset();
    }
    // A slideshow of `n` slides: the first with a picture, the others with a missing one.
    void ouvre(int n)
    {
        const QString chemin = dossier.chemin(QStringLiteral("s%1.sli").arg(n));
        ouvre_fichier_sli(chemin);
        for (int k = 1; k <= n; ++k) {
            ajoute_fiche();
            fiche.chemin_image.affecte(k == 1 ? dossier.chemin("vraie.bmp") : dossier.chemin("absente.bmp"));
            fiche.commentaire.affecte(QStringLiteral("commentaire %1").arg(k));
            ecrit_fiche(k);
        }
        ferme_fichier_sli();
        script.fichiers.push_back(chemin);
        forme->ouvrir_diaporama();
        script.boites.clear();
    }
    DossierTemporaire dossier;
    ScriptSysteme script;
    std::unique_ptr<TForm1> forme;
};

// Scanner tests run apart, without the leak check (SANE's test backend).
class ScannerFenetre : public ImpressionFenetre {};

}  // namespace

TEST_F(ImpressionFenetre, LeScenarioImprimeUnDocumentParPageDeQuatreDiapos)
{
    const struct {
        int diapos, documents;
        QString premiere_de_la_derniere;
    } cas[] = {{5, 2, QStringLiteral("n°5")}, {8, 2, QStringLiteral("n°5")}, {9, 3, QStringLiteral("n°9")}};
    for (const auto &c : cas) {
        ouvre(c.diapos);
        forme->Scnario1->trigger();
        ASSERT_TRUE(QFileInfo::exists(document(script, c.documents - 1))) << c.diapos;
        EXPECT_FALSE(QFileInfo::exists(document(script, c.documents))) << c.diapos;
        const QList<Mot> derniere = mots(document(script, c.documents - 1));
        attendu_a(derniere, c.premiere_de_la_derniere, -1, 210);
        attendu_a(derniere, QStringLiteral("%1/%1").arg(c.documents), 50, 50);
        // Only slide 1 has a picture; the others print their texts alone.
        EXPECT_EQ(images(document(script, 0)), 1) << c.diapos;
        EXPECT_EQ(images(document(script, c.documents - 1)), 0) << c.diapos;
        EXPECT_FALSE(forme->jauge->isVisible());
        for (int n = 0; n < c.documents; ++n)
            QFile::remove(document(script, n));
    }
    EXPECT_TRUE(script.boites.isEmpty());
}

TEST_F(ImpressionFenetre, LImageSImprimeAutantDeFoisQueDeCopiesDemandees)
{
    ouvre(1);
    const auto options = [this](const QString &zoom, const QString &copies) {
        script.dialogues.push_back([=](QDialog &d) {
            auto &options = dynamic_cast<Timpression &>(d);
            options.zoom->setText(zoom);
            options.copies->setText(copies);
            options.horizontal->setChecked(true);
            options.vertical->setChecked(true);
            return int(QDialog::Accepted);
        });
        forme->Image1->trigger();
    };
    options(QStringLiteral("50"), QStringLiteral("3"));
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(QFileInfo::exists(document(script, n))) << n;
        EXPECT_EQ(images(document(script, n)), 1);
        attendu_a(mots(document(script, n)), dossier.chemin("vraie.bmp"), -1, 2800);
    }
    EXPECT_FALSE(QFileInfo::exists(document(script, 3)));
    for (int n = 0; n < 3; ++n)
        QFile::remove(document(script, n));
    options(QStringLiteral("50"), QStringLiteral("0"));
    EXPECT_FALSE(QFileInfo::exists(document(script, 0)));
    options(QStringLiteral("abc"), QStringLiteral("1"));
    EXPECT_FALSE(QFileInfo::exists(document(script, 0)));
    EXPECT_EQ(script.textes_boites(), QStringList{QStringLiteral("'abc' n'est pas une valeur entière correcte")});
}

TEST_F(ScannerFenetre, UneImageScanneeVaDansLeDossierDeDepart)
{
    utilise_sane_de_test();
    dossier_depart = dossier.chemin() + QLatin1Char('/');
    ouvre(1);
    const auto scanne = [this](const QString &nom) {
        script.dialogues.push_back([](QDialog &d) {
            auto &reglages = dynamic_cast<TReglagesScanner &>(d);
            reglages.resolution->setValue(25);
            return int(QDialog::Accepted);
        });
        script.dialogues.push_back([nom](QDialog &d) {
            dynamic_cast<Tsauve_image &>(d).nom->setText(nom);
            return int(QDialog::Accepted);
        });
        forme->photo_scanner->click();
    };
    scanne(QStringLiteral("SCAN1.JPEG"));
    EXPECT_EQ(script.textes_boites(), QStringList{QStringLiteral("nom incorrect")});
    lit_fiche(1);
    EXPECT_EQ(fiche.chemin_image.valeur(), dossier.chemin("vraie.bmp"));
    scanne(QStringLiteral("SCAN1.JPG"));
    sky::FileInfo info;
    ASSERT_TRUE(sky::succeeded(sky::fileInfo(dossier.chemin("SCAN1.JPG"), info)));
    EXPECT_EQ(info.type, QStringLiteral("JPEG"));
    lit_fiche(1);
    EXPECT_EQ(chemin_de_fiche(fiche.chemin_image.valeur()), dossier.chemin("SCAN1.JPG"));
    EXPECT_EQ(forme->Liste->isEnabled(), true);
}
