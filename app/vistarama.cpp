#include "application.h"
#include "demarrage.h"

int main(int argc, char **argv)
{
    Application application(argc, argv);
    return demarre_programme(application, QCoreApplication::arguments());
}
