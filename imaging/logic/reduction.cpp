#include "reduction.h"

#include "skyio.h"

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

// The picture in one of the two formats the reductions read.
QImage lisible(const QImage &lue)
{
    return lue.format() == QImage::Format_RGB888 || lue.format() == QImage::Format_RGB32
               ? lue
               : lue.convertToFormat(QImage::Format_RGB32);
}

// Each block of `f` x `f` pixels averaged into one (the blocks of the last row and
// column over the pixels they hold): a reduction by a whole factor that reads the
// picture once, where a general filter on a full-size photo costs several times more.
QImage moyenne_par_blocs(const QImage &lue, int f)
{
    const QImage source = lisible(lue);
    const bool rgb888 = source.format() == QImage::Format_RGB888;
    const int w = source.width(), h = source.height();
    QImage reduite = sky::newPicture((w + f - 1) / f, (h + f - 1) / f, QImage::Format_RGB32);
    if (reduite.isNull())
        return reduite;
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

// Where each of the `source` pixels of a line falls among the `cible` pixels
// (no more) of the reduced line: measured in units where a source pixel is
// `cible` long and a reduced one `source` long, the share of the reduced pixel
// it starts in; the rest of it goes to the next one.
struct Part {
    int cible;
    quint32 poids;
};
std::vector<Part> parts(int source, int cible)
{
    std::vector<Part> p(static_cast<size_t>(source));
    for (int s = 0; s < source; ++s) {
        const qint64 debut = qint64(s) * cible;
        const int c = int(debut / source);
        p[size_t(s)] = {c, quint32(std::min<qint64>(cible, qint64(c + 1) * source - debut))};
    }
    return p;
}

// Adds a source line to the reduced line's sums, each pixel by its share of the
// reduced pixel it starts in and the rest to the next (a share of 0 past the last):
// without a branch a pixel, which for most factors the processor cannot foresee.
template <bool kRgb888>
void ajoute_ligne(const uchar *octets, const std::vector<Part> &colonnes, quint32 l, quint32 *ligne)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(octets);
    for (size_t x = 0; x < colonnes.size(); ++x) {
        const uint r = kRgb888 ? octets[3 * x] : uint(qRed(pixels[x]));
        const uint g = kRgb888 ? octets[3 * x + 1] : uint(qGreen(pixels[x]));
        const uint b = kRgb888 ? octets[3 * x + 2] : uint(qBlue(pixels[x]));
        const Part &px = colonnes[x];
        const quint32 reste = l - px.poids;
        quint32 *somme = ligne + size_t(px.cible) * 3;
        somme[0] += r * px.poids;
        somme[1] += g * px.poids;
        somme[2] += b * px.poids;
        somme[3] += r * reste;
        somme[4] += g * reste;
        somme[5] += b * reste;
    }
}

// Each reduced pixel the mean of the source pixels it covers, in proportion to
// how much of each it covers: a reduction by any factor, in one reading, that
// Qt's smoothing filter (the same mean) takes several times longer over.
QImage moyenne_par_aires(const QImage &lue, QSize taille)
{
    const QImage source = lisible(lue);
    const bool rgb888 = source.format() == QImage::Format_RGB888;
    const int w = source.width(), h = source.height(), l = taille.width(), t = taille.height();
    const std::vector<Part> colonnes = parts(w, l), lignes = parts(h, t);
    QImage reduite = sky::newPicture(l, t, QImage::Format_RGB32);
    if (reduite.isNull())
        return reduite;
    // One pixel more than the reduced line: where the last pixel's rest of 0 goes.
    std::vector<quint32> ligne(size_t(l + 1) * 3);
    // The rows being summed: the one the source row starts in, and the next.
    std::vector<quint64> courante(size_t(l) * 3), suivante(size_t(l) * 3);
    const quint64 total = quint64(w) * quint64(h);
    int rangee = 0;
    // The rounded mean, by a product rather than a division (which takes several
    // times longer), made exact where the product's rounding is one off.
    const double inverse = 1.0 / double(total);
    const auto moyenne = [total, inverse](quint64 somme) {
        const quint64 arrondie = somme + total / 2;
        quint64 q = quint64(double(arrondie) * inverse);
        if (q * total > arrondie)
            --q;
        else if ((q + 1) * total <= arrondie)
            ++q;
        return int(q);
    };
    const auto ecrit = [&] {
        auto *sortie = reinterpret_cast<QRgb *>(reduite.scanLine(rangee));
        for (int x = 0; x < l; ++x) {
            const quint64 *somme = &courante[size_t(x) * 3];
            sortie[x] = qRgb(moyenne(somme[0]), moyenne(somme[1]), moyenne(somme[2]));
        }
        courante.swap(suivante);
        std::fill(suivante.begin(), suivante.end(), 0);
        ++rangee;
    };
    for (int y = 0; y < h; ++y) {
        const Part &py = lignes[size_t(y)];
        if (py.cible > rangee)
            ecrit();
        std::fill(ligne.begin(), ligne.end(), 0u);
        if (rgb888)
            ajoute_ligne<true>(source.constScanLine(y), colonnes, quint32(l), ligne.data());
        else
            ajoute_ligne<false>(source.constScanLine(y), colonnes, quint32(l), ligne.data());
        const quint32 reste = quint32(t) - py.poids;
        for (size_t i = 0; i < courante.size(); ++i) {
            courante[i] += quint64(ligne[i]) * py.poids;
            suivante[i] += quint64(ligne[i]) * reste;
        }
    }
    ecrit();
    return reduite;
}

}  // namespace

QImage image_pour_ecran(const QImage &lue, QSize ecran)
{
    const QSize taille = taille_a_l_ecran(lue.size(), ecran);
    QImage image = lue;
    if (taille != lue.size() && lue.hasAlphaChannel()) {
        image = lue.scaled(taille, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else if (taille != lue.size()) {
        // The whole part of the reduction by blocks, the rest by the mean of the areas covered.
        const int facteur = std::min(lue.width() / taille.width(), lue.height() / taille.height());
        if (facteur >= 2)
            image = moyenne_par_blocs(lue, facteur);
        if (image.size() != taille)
            image = moyenne_par_aires(image, taille);
    }
    if (!image.hasAlphaChannel() && image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    return image;
}
