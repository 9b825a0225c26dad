#pragma once

#include <QStringList>

class Application;
// Program entry: title, splash, every window created in order, message loop.
// `arguments` are the program's: a slideshow named after the program is opened.
int demarre_programme(Application &application, const QStringList &arguments);
