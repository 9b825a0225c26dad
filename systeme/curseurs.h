// Screen cursors by number, as the windows ask for them.
#pragma once

#include <QCursor>

void enregistre_curseur(int numero, const QCursor &curseur);
QCursor curseur_ecran(int numero);

// Loads a cursor resource of the program (":/curseurs/<nom>.png", hot spot at its centre).
QCursor charge_curseur(const QString &nom);
