// vistarama-convert: see convert.h and --help.
#include "convert.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return sky::runConvert(app.arguments().mid(1), out, err);
}
