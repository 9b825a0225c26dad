// The application object: catches the run-time input/output error at the event
// boundary, so that the handler in progress stops and the general error box shows.
#pragma once

#include <QApplication>

class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
