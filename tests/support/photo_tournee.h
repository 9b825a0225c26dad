// A small JPEG stored turned, as a phone saves a photo: red in its stored
// top-left corner, green in its stored top-right one, grey elsewhere, and an
// EXIF block (written here byte by byte, big-endian) saying how to turn it upright.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QString>

constexpr int kLargeurStockee = 48;
constexpr int kHauteurStockee = 32;

inline QByteArray bloc_exif(int orientation)
{
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);        // header, first directory at 8
    tiff.append(QByteArray("\0\x01", 2));             // one entry
    tiff.append(QByteArray("\x01\x12\0\x03\0\0\0\x01", 8));  // orientation, SHORT, 1 value
    tiff.append(char(0)).append(char(orientation)).append(QByteArray(2, '\0'));
    tiff.append(QByteArray(4, '\0'));                 // no next directory
    return QByteArray("Exif\0\0", 6) + tiff;
}

// Writes the picture with Qt's own JPEG writer, the EXIF segment right after the start marker.
inline bool ecrit_photo_tournee(const QString &chemin, int orientation)
{
    QImage image(kLargeurStockee, kHauteurStockee, QImage::Format_RGB888);
    image.fill(QColor(128, 128, 128));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            image.setPixelColor(x, y, QColor(230, 0, 0));
            image.setPixelColor(kLargeurStockee - 1 - x, y, QColor(0, 210, 0));
        }
    QBuffer tampon;
    tampon.open(QIODevice::WriteOnly);
    QImageWriter ecrivain(&tampon, "jpeg");
    ecrivain.setQuality(95);
    if (!ecrivain.write(image))
        return false;
    const QByteArray bloc = bloc_exif(orientation);
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((bloc.size() + 2) >> 8)).append(char((bloc.size() + 2) & 0xFF)).append(bloc);
    QByteArray donnees = tampon.data();
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(donnees.insert(2, segment)) > 0;
}

// Which corner of `image` is of `couleur` (within a margin): 0 top-left,
// 1 top-right, 2 bottom-right, 3 bottom-left; -1 for none or several.
inline int coin_de(const QImage &image, QColor couleur)
{
    const int w = image.width(), h = image.height();
    const QPoint coins[] = {{2, 2}, {w - 3, 2}, {w - 3, h - 3}, {2, h - 3}};
    int trouve = -1;
    for (int i = 0; i < 4; ++i) {
        const QColor c = image.pixelColor(coins[i]);
        if (qAbs(c.red() - couleur.red()) < 40 && qAbs(c.green() - couleur.green()) < 40 &&
            qAbs(c.blue() - couleur.blue()) < 40) {
            if (trouve != -1)
                return -1;
            trouve = i;
        }
    }
    return trouve;
}

// The corners red and green take once the picture stored with `orientation` is upright.
struct CoinsDroits {
    int orientation;
    int rouge, vert;
    bool tournee;  // a quarter turn: width and height swap
};
inline constexpr CoinsDroits kCoinsDroits[] = {
    {1, 0, 1, false}, {2, 1, 0, false}, {3, 2, 3, false}, {4, 3, 2, false},
    {5, 0, 3, true},  {6, 1, 2, true},  {7, 2, 1, true},  {8, 3, 0, true}};
