// Title bars: the room a caption needs, and a window whose title bar shows its caption and nothing else: no close,
// minimise or maximise button. Qt asks an X11 window manager for that only
// along with some button; the window's Motif hints are written here instead.
// Other platforms keep what the window's flags give.
#pragma once

class QWidget;

namespace systeme {

// What a window manager's title bar takes beside its caption (icon, buttons,
// margins), in pixels.
constexpr int kPlaceBoutonsTitre = 110;

// The width `fenetre` needs to show its caption whole beside the title bar's
// buttons, and at least `largeur`.
int largeur_pour_legende(const QWidget &fenetre, int largeur);

// A fixed-size window laid out by hand, widened as its caption needs: its
// controls move to the middle, those across its whole width stretch.
void elargit_pour_legende(QWidget &fenetre);

// Before the window is first shown.
void sans_boutons_de_titre(QWidget &fenetre);

}  // namespace systeme
