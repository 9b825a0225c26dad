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

void elargit_pour_legende(QWidget &fenetre)
{
    const int avant = fenetre.width();
    const int largeur = largeur_pour_legende(fenetre, avant);
    if (largeur == avant)
        return;
    const int dx = (largeur - avant) / 2;
    for (QWidget *controle : fenetre.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (controle->isWindow())
            continue;
        if (controle->x() == 0 && controle->width() == avant)
            controle->resize(largeur, controle->height());
        else
            controle->move(controle->x() + dx, controle->y());
    }
    fenetre.setFixedSize(largeur, fenetre.height());
}

void sans_boutons_de_titre(QWidget &fenetre)
{
    // The offscreen platform may answer as X11 without a connection.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connexion = x11 ? x11->connection() : nullptr;
    if (!connexion || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
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
