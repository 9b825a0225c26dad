#include "application.h"
#include "ecran.h"
#include "main.h"
#include "script_systeme.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// What the window manager is given as the window's name (xprop reads it from the X server).
QString nom_donne_au_serveur(const QWidget &fenetre)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(fenetre.winId()),
                                          QStringLiteral("_NET_WM_NAME")});
    xprop.waitForFinished(5000);
    const QString sortie = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype debut = sortie.indexOf(QLatin1Char('"'));
    return debut < 0 ? sortie : sortie.mid(debut + 1).chopped(1);
}

// Run under Xvfb by its own ctest entry; skipped on the offscreen platform.
TEST(TitresX11, LaFenetreSystemeRecoitExactementLeTitreDuProgramme)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    ScriptSysteme script;
    titre_application = QStringLiteral("Slideshow V2.32");
    QApplication::setApplicationName(QStringLiteral("Vistarama"));
    DossierTemporaire dossier;
    TForm1 forme;
    forme.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&forme));
    const QString chemin = dossier.chemin(QStringLiteral("essai.sli"));
    forme.ouvre_diaporama(chemin);
    QTest::qWait(200);
    EXPECT_EQ(nom_donne_au_serveur(forme), QStringLiteral("Slideshow V2.32 - ") + chemin);
    forme.fermer_diaporama();
}

}  // namespace
