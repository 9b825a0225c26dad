// The thumbnails shared with the desktop's file managers: the freedesktop cache
// under $XDG_CACHE_HOME/thumbnails, `normal` (128 pixels) and `large` (256), one PNG
// a picture named by the MD5 of its file URI, holding that URI and the picture's
// modification time. An entry serves only while both still match the picture; one
// that cannot be written is simply not kept (a read-only cache costs a reading).
#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

namespace cache_vignettes {

constexpr int NORMALE = 128;
constexpr int GRANDE = 256;

// The cache size whose thumbnails cover a picture drawn fitted into `zone` device
// pixels: NORMALE, GRANDE, or 0 when even GRANDE is too small.
int taille_pour(QSize zone);

// The file:// URI of `chemin` (made absolute), percent-encoded.
QByteArray uri_de(const QString &chemin);
// Where the thumbnail of `chemin` of size `taille` (NORMALE or GRANDE) is kept under `racine`.
QString chemin_en_cache(const QString &racine, const QString &chemin, int taille);
// $XDG_CACHE_HOME/thumbnails, with its final "/".
QString racine();

// The thumbnail of `chemin` kept in the cache, when its URI and modification time
// are those of the picture (`modification`, taken before the picture is read);
// null otherwise.
QImage trouve(const QString &racine, const QString &chemin, int taille, const QDateTime &modification);
// Keeps `vignette` as the thumbnail of `chemin`, written beside its final name and
// renamed onto it (a reader never sees half a file), readable by its owner only.
// `originale`: the picture's own size, when known. False, and nothing left behind,
// when the cache cannot be written.
bool range(const QString &racine, const QString &chemin, int taille, const QDateTime &modification,
           const QImage &vignette, QSize originale);

// `image` brought to the thumbnail size `taille`: its longest side `taille`, with its
// proportions; a picture already that small stays as it is.
QImage reduite(const QImage &image, int taille);

}  // namespace cache_vignettes
