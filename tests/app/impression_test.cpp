// The printed scenario and picture: pages printed to PDF through the shared
// printer, read back with pdftotext -bbox, positions in tenths of a millimetre.
#include "impression.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QPainter>
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
