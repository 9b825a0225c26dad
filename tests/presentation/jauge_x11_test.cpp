// The progress window as the X server holds it: a caption with no title-bar
// button, and not kept above every other window.
#include "Fgauge.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString propriete(const QWidget &fenetre, const QString &nom)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(fenetre.winId()), nom});
    xprop.waitForFinished(5000);
    return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
}

// Run under Xvfb by its own ctest entry; skipped on the offscreen platform.
TEST(JaugeX11, UneLegendeSansBoutonEtPasAuDessusDeTout)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    QWidget principale;
    principale.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principale));
    Tjauge jauge(&principale);
    jauge.ouvre(QStringLiteral("Chargement des Images"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&jauge));
    // Flags, functions, decorations, ...: functions valid (1), none of all (1), minimise (8), maximise (16), close (32).
    const QString motif = propriete(jauge, QStringLiteral("_MOTIF_WM_HINTS"));
    const QRegularExpressionMatch valeurs =
        QRegularExpression(QStringLiteral("= (0x[0-9a-f]+|\\d+), (0x[0-9a-f]+|\\d+)")).match(motif);
    ASSERT_TRUE(valeurs.hasMatch()) << motif.toStdString();
    const uint drapeaux = valeurs.captured(1).toUInt(nullptr, 0), fonctions = valeurs.captured(2).toUInt(nullptr, 0);
    EXPECT_TRUE(drapeaux & 1) << motif.toStdString();
    EXPECT_EQ(fonctions & (1 | 8 | 16 | 32), 0u) << motif.toStdString();
    EXPECT_FALSE(propriete(jauge, QStringLiteral("_NET_WM_STATE")).contains(QLatin1String("ABOVE")));
    jauge.ferme();
}

}  // namespace
