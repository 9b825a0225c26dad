#include "icone.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// Drawn on a 256-unit square, scaled to `taille`; small sizes drop the tilt,
// which would only blur their edges.
QImage icone(int taille)
{
    QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(taille / 256.0, taille / 256.0);
    p.translate(128, 128);
    if (taille >= 32)
        p.rotate(-8);

    // The mount: white card with a soft shadow, its window cut in the middle.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(QRectF(-106, -100, 220, 220), 22, 22);
    p.setBrush(QColor(250, 248, 240));
    p.drawRoundedRect(QRectF(-112, -112, 224, 224), 22, 22);
    const QRectF fenetre(-84, -70, 168, 140);

    QPainterPath decoupe;
    decoupe.addRoundedRect(fenetre, 8, 8);
    p.setClipPath(decoupe);
    QLinearGradient ciel(0, fenetre.top(), 0, 20);
    ciel.setColorAt(0, QColor(70, 40, 110));
    ciel.setColorAt(0.6, QColor(230, 110, 70));
    ciel.setColorAt(1, QColor(255, 200, 110));
    p.fillRect(fenetre, ciel);
    QRadialGradient soleil(0, 18, 38);
    soleil.setColorAt(0, QColor(255, 250, 210));
    soleil.setColorAt(0.6, QColor(255, 220, 120));
    soleil.setColorAt(1, QColor(255, 180, 90, 0));
    p.setBrush(soleil);
    p.drawEllipse(QPointF(0, 18), 38, 38);
    QLinearGradient mer(0, 18, 0, fenetre.bottom());
    mer.setColorAt(0, QColor(200, 100, 90));
    mer.setColorAt(1, QColor(30, 50, 110));
    p.fillRect(QRectF(fenetre.left(), 18, fenetre.width(), fenetre.bottom() - 18), mer);
    p.setClipping(false);

    // The mount's label strip, as on a real slide.
    p.setBrush(QColor(200, 60, 40));
    p.drawRect(QRectF(-84, 84, 80, 12));
    return image;
}

}  // namespace

bool ecrit_icone(const QString &assets)
{
    const QString dossier = assets + QStringLiteral("/icone/");
    bool ok = QDir().mkpath(dossier);
    for (int taille : {16, 22, 24, 32, 48, 64, 128, 256})
        ok = ok && icone(taille).save(dossier + QStringLiteral("vistarama-%1.png").arg(taille));
    return ok;
}
