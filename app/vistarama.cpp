#include "application.h"
#include "demarrage.h"
#include "ligne_de_commande.h"

int main(int argc, char **argv)
{
    // Help, version and refusals are answered before the display is reached:
    // they work with no display at all.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto statut = repond_sans_fenetre(analyse_ligne_de_commande(arguments)))
        return *statut;
    Application application(argc, argv);
    return demarre_programme(application, QCoreApplication::arguments());
}
