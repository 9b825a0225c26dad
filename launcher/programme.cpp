// Ostrel, the disc's launcher: started from the disc's root, it finds its
// sounds, the archive, the installer and the demonstration programs beside itself.
#include <QApplication>

#include "ostrel.h"

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    lanceur::Ostrel fenetre(QCoreApplication::applicationDirPath());
    fenetre.Form_Load();
    return application.exec();
}
