#include "application.h"

#include "emplacements.h"
#include "erreurs.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString titre_application;

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // The resources sit in a static library: registered here, they are linked in.
    Q_INIT_RESOURCE(ressources);
}

void Application::charge_traductions()
{
    static QTranslator *traduction = nullptr;
    if (traduction)
        return;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    traduction = new QTranslator(qApp);
    // The copy installed with the program first, then Qt's own.
    for (const QString &dossier : {emplacements::dossier_ressources() + QStringLiteral("translations"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)})
        if (traduction->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), dossier)) {
            QCoreApplication::installTranslator(traduction);
            return;
        }
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool resultat = false;
    erreurs::sous_garde([&] { resultat = QApplication::notify(receiver, event); });
    return resultat;
}
