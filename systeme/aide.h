// The help window: "DOC.HLP" is an HTML file of ours, opened at the anchor of a
// context number ("contexte1", ...).
#pragma once

#include <QString>

class QTextBrowser;

namespace systeme {

// Shows the help in front, over the modal dialog open meanwhile, if any.
void montre_aide(const QString &fichier, int contexte);

// The help window, created on first use and kept for the program's life.
QTextBrowser *fenetre_aide();

}  // namespace systeme
