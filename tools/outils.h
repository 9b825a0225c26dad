// Pieces the tool windows share: a control placed at its spot, the red gauge of
// a tool window in its sunken panel, a group box titled by a shadowed label.
#pragma once

class QDialog;
class QGroupBox;
class QRect;
class QProgressBar;
class QString;
class QWidget;
class TPMultiImage;

template <typename T>
T *place(T *controle, int gauche, int haut, int largeur, int hauteur = -1)
{
    controle->setGeometry(gauche, haut, largeur, hauteur < 0 ? controle->sizeHint().height() : hauteur);
    return controle;
}

// The gauge of `fenetre` at (gauche, haut), moved by the progress routine while
// the window is visible (the main window's gauge is then left alone).
QProgressBar *jauge_outil(QWidget *fenetre, int gauche, int haut);

// A group box titled in "Times New Roman" italic with a grey shadow, of
// `pixels` pixels when given, else of the default size.
QGroupBox *groupe_titre(QWidget *parent, int gauche, int haut, int largeur, int hauteur, const QString &titre,
                        int pixels = 0);

// Fits `image` into its frame `cadre` as the browser's preview is fitted, hidden
// while it is resized.
void affiche_apercu(TPMultiImage *image, const QWidget *cadre);
// A picture preview with the settings every preview of the program shares: centred,
// dithered, automatic colour depths, TIFF uncompressed, JPEG written at `qualite_jpeg`
// smoothed by `lissage_jpeg`.
TPMultiImage *cree_apercu(QWidget *parent, int qualite_jpeg, int lissage_jpeg);

// Runs `fenetre` as the child of `ouvrante` for the time it is open, so that the
// window manager shows it above the window that opened it (a window that stays on
// top would hide it otherwise); its own parent is given back when it closes.
int execute_au_dessus(QDialog &fenetre, QWidget *ouvrante);

// Centres `fenetre` over `principale` by its client area, for a showing to come; the window
// manager keeps the client area there (no drift of a title bar at each showing).
void centre_fenetre(QWidget &fenetre, const QRect &principale);
// Over the window of its parent, or over the screen for a window without one.
void centre_fenetre(QWidget &fenetre);
