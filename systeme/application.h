// The application object: catches the run-time input/output error at the event
// boundary, so that the handler in progress stops and the general error box shows.
#pragma once

#include <QApplication>

class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // Qt's own French texts for its standard dialogs and context menus.
    static void charge_traductions();
};

// The program's title, "Slideshow V2.32": the main caption and the general error box.
extern QString titre_application;
