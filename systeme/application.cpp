#include "application.h"

#include "erreurs.h"

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool resultat = false;
    erreurs::sous_garde([&] { resultat = QApplication::notify(receiver, event); });
    return resultat;
}
