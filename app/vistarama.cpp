#include "application.h"
#include "demarrage.h"

int main(int argc, char **argv)
{
    // The pictures and cursors live in the program's library: nothing else would link them in.
    Q_INIT_RESOURCE(ressources);
    Application application(argc, argv);
    return demarre_programme(application);
}
