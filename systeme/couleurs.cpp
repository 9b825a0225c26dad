#include "couleurs.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole role_systeme(int index)
{
    switch (index) {
    case 0: return QPalette::Dark;          // scroll bar
    case 1: return QPalette::Window;        // desktop
    case 2: return QPalette::Highlight;     // active caption
    case 3: return QPalette::Mid;           // inactive caption
    case 4: return QPalette::Window;        // menu
    case 5: return QPalette::Base;          // window
    case 6: return QPalette::Shadow;        // window frame
    case 7: return QPalette::WindowText;    // menu text
    case 8: return QPalette::Text;          // window text
    case 9: return QPalette::HighlightedText;  // caption text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;       // button face
    case 16: return QPalette::Dark;         // button shadow
    case 17: return QPalette::PlaceholderText;  // grey text
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;        // button highlight
    case 21: return QPalette::Shadow;       // 3D dark shadow
    case 22: return QPalette::Midlight;     // 3D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

}  // namespace

QColor vers_qcolor(qint32 couleur)
{
    const quint32 valeur = quint32(couleur);
    if (valeur & 0x80000000u)
        return QGuiApplication::palette().color(role_systeme(int(valeur & 0xFF)));
    return QColor(int(valeur & 0xFF), int((valeur >> 8) & 0xFF), int((valeur >> 16) & 0xFF));
}

qint32 depuis_qcolor(const QColor &couleur)
{
    return qint32(quint32(couleur.red()) | (quint32(couleur.green()) << 8) |
                  (quint32(couleur.blue()) << 16));
}
