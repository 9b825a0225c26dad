#include "demarrage.h"
#include "application.h"
int demarre_programme(Application &application) { return application.exec(); }
