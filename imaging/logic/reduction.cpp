#include "reduction.h"

#include <algorithm>

Reduction reduit(QSize image, QSize zone)
{
    const int w = image.width();
    const int h = image.height();
    int l = w;
    int t = h;
    const bool etire = w > zone.width() || h > zone.height();
    if (etire) {
        // The first step always takes one pixel off, even when the first size fits.
        if (w > h) {
            l = zone.width();
            do {
                --l;
                t = int(double(h) / w * l);
            } while (t > zone.height() && l > 1);
        } else {
            t = zone.height();
            do {
                --t;
                l = int(double(w) / h * t);
            } while (l > zone.width() && t > 1);
        }
    }
    return {etire, QSize(std::max(l, 1), std::max(t, 1))};
}

int echelle_couvrant(QSize image, QSize voulue)
{
    const auto couvre = [&](int echelle) {
        return (image.width() + echelle - 1) / echelle >= voulue.width() &&
               (image.height() + echelle - 1) / echelle >= voulue.height();
    };
    for (int echelle : {8, 4, 2})
        if (couvre(echelle))
            return echelle;
    return 1;
}

int echelle_de_decodage(QSize image, QSize zone)
{
    if (image.isEmpty() || zone.isEmpty())
        return 1;
    return echelle_couvrant(image, reduit(image, zone).taille);
}

QSize taille_a_l_ecran(QSize image, QSize ecran)
{
    if (image.isEmpty() || ecran.isEmpty() || (image.width() <= ecran.width() && image.height() <= ecran.height()))
        return image;
    return image.scaled(ecran, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage image_pour_ecran(const QImage &lue, QSize ecran)
{
    const QSize taille = taille_a_l_ecran(lue.size(), ecran);
    QImage image = taille == lue.size() ? lue : lue.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!image.hasAlphaChannel() && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    return image;
}
