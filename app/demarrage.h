#pragma once

#include <QStringList>
#include <optional>

class Application;
struct LigneDeCommande;

// Answers a command line that needs no window (help, version, a refusal) on the
// standard output or error and gives the exit status; nothing for the others.
std::optional<int> repond_sans_fenetre(const LigneDeCommande &ligne);

// Program entry: title, splash, every window created in order, message loop.
// `arguments` are the program's: a slideshow named after the program is opened,
// or presented full screen with --diaporama, the program ending with the show.
int demarre_programme(Application &application, const QStringList &arguments);
