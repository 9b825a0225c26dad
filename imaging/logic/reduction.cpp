#include "reduction.h"

#include <algorithm>
#include <vector>

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

namespace {

// Each block of `f` x `f` pixels averaged into one (the blocks of the last row and
// column over the pixels they hold): a reduction by a whole factor that reads the
// picture once, where a general filter on a full-size photo costs several times more.
QImage moyenne_par_blocs(const QImage &lue, int f)
{
    const QImage source = lue.format() == QImage::Format_RGB888 || lue.format() == QImage::Format_RGB32
                              ? lue
                              : lue.convertToFormat(QImage::Format_RGB32);
    const bool rgb888 = source.format() == QImage::Format_RGB888;
    const int w = source.width(), h = source.height();
    QImage reduite((w + f - 1) / f, (h + f - 1) / f, QImage::Format_RGB32);
    std::vector<quint32> sommes(size_t(reduite.width()) * 3);
    for (int y = 0; y < reduite.height(); ++y) {
        std::fill(sommes.begin(), sommes.end(), 0u);
        const int y0 = y * f, y1 = std::min(y0 + f, h);
        for (int sy = y0; sy < y1; ++sy) {
            const uchar *ligne = source.constScanLine(sy);
            const auto *pixels = reinterpret_cast<const QRgb *>(ligne);
            for (int x = 0; x < reduite.width(); ++x) {
                quint32 r = 0, g = 0, b = 0;
                for (int sx = x * f, fin = std::min(sx + f, w); sx < fin; ++sx) {
                    if (rgb888) {
                        r += ligne[3 * sx];
                        g += ligne[3 * sx + 1];
                        b += ligne[3 * sx + 2];
                    } else {
                        r += uint(qRed(pixels[sx]));
                        g += uint(qGreen(pixels[sx]));
                        b += uint(qBlue(pixels[sx]));
                    }
                }
                quint32 *somme = &sommes[size_t(x) * 3];
                somme[0] += r;
                somme[1] += g;
                somme[2] += b;
            }
        }
        auto *sortie = reinterpret_cast<QRgb *>(reduite.scanLine(y));
        for (int x = 0; x < reduite.width(); ++x) {
            const quint32 n = quint32((std::min((x + 1) * f, w) - x * f) * (y1 - y0));
            const quint32 *somme = &sommes[size_t(x) * 3];
            sortie[x] = qRgb(int((somme[0] + n / 2) / n), int((somme[1] + n / 2) / n), int((somme[2] + n / 2) / n));
        }
    }
    return reduite;
}

}  // namespace

QImage image_pour_ecran(const QImage &lue, QSize ecran)
{
    const QSize taille = taille_a_l_ecran(lue.size(), ecran);
    QImage image = lue;
    if (taille != lue.size()) {
        // The whole part of the reduction by blocks, the rest by Qt's smoothing filter.
        const int facteur = std::min(lue.width() / taille.width(), lue.height() / taille.height());
        if (facteur >= 2 && !lue.hasAlphaChannel())
            image = moyenne_par_blocs(lue, facteur);
        else if (image.format() == QImage::Format_RGB888)
            image = lue.convertToFormat(QImage::Format_RGB32);  // Qt smooths 32-bit pixels several times faster
        if (image.size() != taille)
            image = image.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (!image.hasAlphaChannel() && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    return image;
}
