#include "bulle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {

bool vers_la_droite(THintDirection direction)
{
    return direction == hdUpRight || direction == hdDownRight;
}

THintDirection direction_de(bool haut, bool droite)
{
    if (haut)
        return droite ? hdUpRight : hdUpLeft;
    return droite ? hdDownRight : hdDownLeft;
}

// Top-left corner of the balloon for the mouse at `souris`.
QPoint coin_bulle(THintDirection direction, QSize taille, QPoint souris)
{
    const int x = vers_la_droite(direction) ? souris.x() : souris.x() - taille.width() + 6;
    const int y = vers_le_haut(direction) ? souris.y() - 5 - taille.height() : souris.y() + 15;
    return {x, y};
}

// The other direction to try when the balloon at `coin` leaves the screen: the
// other side first, then the other height; the same direction when it fits.
THintDirection direction_corrigee(THintDirection direction, const QRect &bulle, const QRect &ecran)
{
    const bool haut = vers_le_haut(direction);
    const bool droite = vers_la_droite(direction);
    const int droite_ecran = ecran.x() + ecran.width();
    const int bas_ecran = ecran.y() + ecran.height();
    const bool hors_cote = droite ? bulle.x() + bulle.width() > droite_ecran : bulle.x() < ecran.x();
    if (hors_cote)
        return direction_de(haut, !droite);
    const bool hors_hauteur = haut ? bulle.y() < ecran.y() : bulle.y() + bulle.height() > bas_ecran;
    if (hors_hauteur)
        return direction_de(!haut, droite);
    return direction;
}

// The box and its shadow, rows counted from the window's top. Right and bottom
// edges are exclusive, as the window system's rectangles are.
struct Cadre {
    int haut_boite;     // the box's top: below the pointer for Down
    int bas_boite;      // the box's bottom, where the horizontal shadow strip starts
    int bas_ombre;      // the shadow region's bottom
};

Cadre cadre_bulle(THintDirection direction, int hauteur)
{
    if (vers_le_haut(direction))
        return {0, hauteur - 14, hauteur - 9};
    return {15, hauteur - 8, hauteur - 2};
}

bool pair(int x, int y) { return (x + y) % 2 == 0; }

// Sets the pixels of a checkerboard inside `forme` within the rectangle
// [x0, x1] x [y0, y1] (inclusive) to `couleur`.
void pointille(QImage &image, const QPainterPath &forme, int x0, int x1, int y0, int y1,
               QRgb couleur)
{
    for (int y = qMax(0, y0); y <= qMin(y1, image.height() - 1); ++y)
        for (int x = qMax(0, x0); x <= qMin(x1, image.width() - 1); ++x)
            if (pair(x, y) && forme.contains(QPointF(x + 0.5, y + 0.5)))
                image.setPixel(x, y, couleur);
}

void ombre_boite(QImage &image, const Cadre &cadre, QRgb couleur)
{
    const int W = image.width();
    const int haut = cadre.haut_boite + 8;
    QPainterPath region;
    region.addRoundedRect(QRectF(10, haut, W - 10, cadre.bas_ombre - haut), 4, 4);
    pointille(image, region, W - 14, W, haut, cadre.bas_boite, couleur);
    pointille(image, region, 10, W, cadre.bas_boite, cadre.bas_ombre, couleur);
}

void ombre_pointe(QImage &image, THintDirection direction, QRgb couleur)
{
    const int W = image.width();
    const int H = image.height();
    const QPolygon triangle = direction == hdUpRight
                                  ? QPolygon({QPoint(12, H - 15), QPoint(25, H - 15), QPoint(12, H)})
                                  : QPolygon({QPoint(W - 33, H - 15), QPoint(W - 11, H - 15),
                                              QPoint(W - 6, H)});
    QPainterPath forme;
    forme.addPolygon(triangle);
    forme.closeSubpath();
    pointille(image, forme, triangle[0].x(), triangle[1].x(), triangle[0].y(), triangle[2].y(),
              couleur);
}

}  // namespace

bool vers_le_haut(THintDirection direction)
{
    return direction == hdUpRight || direction == hdUpLeft;
}

QSize taille_texte_bulle(const QString &texte, const QFont &police, int largeur_max)
{
    // Measured on the kind of surface the balloon is drawn on.
    const QImage surface(1, 1, QImage::Format_ARGB32_Premultiplied);
    const QFontMetrics mesure(police, &surface);
    const QRect texte_pose = mesure.boundingRect(QRect(0, 0, largeur_max, 0),
                                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texte);
    return {texte_pose.width() + 6, texte_pose.height() + 2};
}

QSize taille_bulle(QSize texte, THintDirection direction)
{
    return {texte.width() + 16, texte.height() + (vers_le_haut(direction) ? 20 : 29)};
}

PlacementBulle place_bulle(QSize texte, QPoint souris, const QRect &ecran, THintDirection direction)
{
    unsigned essayees = 1u << direction;
    for (;;) {
        const QSize taille = taille_bulle(texte, direction);
        const QRect bulle(coin_bulle(direction, taille, souris), taille);
        const THintDirection autre = direction_corrigee(direction, bulle, ecran);
        if (autre == direction || (essayees & (1u << autre)))
            return {bulle, direction};
        essayees |= 1u << autre;
        direction = autre;
    }
}

QPolygon pointe_bulle(THintDirection direction, QSize taille)
{
    const int W = taille.width();
    const int H = taille.height();
    switch (direction) {
    case hdUpRight: return QPolygon({QPoint(10, H - 15), QPoint(20, H - 15), QPoint(0, H)});
    case hdUpLeft: return QPolygon({QPoint(W - 26, H - 15), QPoint(W - 16, H - 15), QPoint(W - 6, H)});
    case hdDownRight: return QPolygon({QPoint(10, 15), QPoint(20, 15), QPoint(0, 0)});
    case hdDownLeft: break;
    }
    return QPolygon({QPoint(W - 26, 15), QPoint(W - 16, 15), QPoint(W - 6, 0)});
}

void dessine_bulle(QImage &image, THintDirection direction, const QString &texte,
                   const StyleBulle &style)
{
    if (image.depth() != 32)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    const int W = image.width();
    const int H = image.height();
    const Cadre cadre = cadre_bulle(direction, H);

    ombre_boite(image, cadre, style.ombre.rgb());
    if (vers_le_haut(direction))
        ombre_pointe(image, direction, style.ombre.rgb());

    QPainter p(&image);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(style.fond);
    p.drawRoundedRect(QRect(0, cadre.haut_boite, W - 7, cadre.bas_boite - cadre.haut_boite - 1),
                      4.5, 4.5);

    const QPolygon pointe = pointe_bulle(direction, image.size());
    const QPoint A = pointe[0], B = pointe[1], T = pointe[2];
    p.setPen(QPen(style.fond, 0));
    p.drawLine(A, B);
    p.setPen(Qt::NoPen);
    p.drawPolygon(pointe);
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(B, T);
    p.drawLine(T, A);

    const int d = vers_le_haut(direction) ? 0 : 15;
    p.setFont(style.police);
    p.setPen(style.couleur_texte);
    p.drawText(QRect(8, 3 + d, W - 8, H - 3 - d), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               texte);
}
