#include "barre_titre.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

#include <cstdlib>

namespace systeme {

int largeur_pour_legende(const QWidget &fenetre, int largeur)
{
    // Window managers mostly write captions in bold.
    QFont gras = fenetre.font();
    gras.setBold(true);
    return qMax(largeur, QFontMetrics(gras).horizontalAdvance(fenetre.windowTitle()) + kPlaceBoutonsTitre);
}

void sans_boutons_de_titre(QWidget &fenetre)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t *connexion = x11->connection();
    static constexpr char kNom[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t *atome = xcb_intern_atom_reply(
        connexion, xcb_intern_atom(connexion, 0, sizeof kNom - 1, kNom), nullptr);
    if (!atome)
        return;
    // Which fields count (functions 1, decorations 2); the functions: move (4) only;
    // the decorations: border (2) and title (8); input mode; status.
    const quint32 indications[5] = {1 | 2, 4, 2 | 8, 0, 0};
    xcb_change_property(connexion, XCB_PROP_MODE_REPLACE, xcb_window_t(fenetre.winId()), atome->atom, atome->atom,
                        32, 5, indications);
    xcb_flush(connexion);
    std::free(atome);
}

}  // namespace systeme
