#include "demarrage.h"

#include "application.h"
#include "main.h"

#include "Splash.h"

#include "erreurs.h"

#include <QFileInfo>
#include <QFont>
#include <memory>

namespace {

// Faces the windows name that this platform does not have.
void substitue_polices()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

}  // namespace

int demarre_programme(Application &application, const QStringList &arguments)
{
    titre_application = QStringLiteral("Slideshow V2.32");
    QApplication::setApplicationName(QStringLiteral("Vistarama"));
    Application::charge_traductions();
    substitue_polices();

    // On the screen while the windows are made, gone before the message loop.
    auto splash = montre_splash();

    // Every window is created once, hidden, in this order; the main window first.
    TForm1 Form1;
    splash.reset();
    Form1.showMaximized();

    // A slideshow named on the command line is opened at once.
    if (arguments.size() > 1)
        erreurs::sous_garde([&] { Form1.ouvre_diaporama(QFileInfo(arguments[1]).absoluteFilePath()); });
    return application.exec();
}
