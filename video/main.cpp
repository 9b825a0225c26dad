// vistarama-video: see commande_video.h and --help.
#include "commande_video.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    // Frames are drawn off screen: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return lance_commande_video(app.arguments().mid(1), out, err);
}
