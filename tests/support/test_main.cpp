// Test entry: the offscreen platform unless another is asked for, a private
// runtime folder, and an application object for widgets, timers and pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#ifdef VISTA_APPLICATION
#include "application.h"
#include "diaporama.h"
#include "script_systeme.h"
using ApplicationDeTest = Application;

namespace {
// The program's one slideshow starts every test closed, whatever the last test left.
class DiaporamaFermeEntreLesTests : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &) override { Diaporama::courant().oublie(); }
};
}  // namespace
#else
using ApplicationDeTest = QApplication;
#endif

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir runtime;
    runtime.setAutoRemove(true);
    QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // The user's own folders are scratch ones: no test reads or writes the real ones.
    QTemporaryDir utilisateur;
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, (utilisateur.path() + QLatin1Char('/') + QLatin1String(variable)).toLocal8Bit());
    QDir().mkpath(qEnvironmentVariable("HOME"));
    ApplicationDeTest app(argc, argv);
#ifdef VISTA_APPLICATION
    // A seam that a test reaches without a script of its own fails that test.
    ScriptSysteme script_general;
    systeme::garde_comme_defauts();
#endif
    ::testing::InitGoogleTest(&argc, argv);
#ifdef VISTA_APPLICATION
    ::testing::UnitTest::GetInstance()->listeners().Append(new DiaporamaFermeEntreLesTests);
#endif
    return RUN_ALL_TESTS();
}
