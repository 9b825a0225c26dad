#include "cache_vignettes.h"

#include "reduction.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <algorithm>
#include <cstdio>

namespace cache_vignettes {

namespace {

const QString CLE_URI = QStringLiteral("Thumb::URI");
const QString CLE_MTIME = QStringLiteral("Thumb::MTime");

QString nom_du_dossier(int taille) { return taille == NORMALE ? QStringLiteral("normal") : QStringLiteral("large"); }

QString secondes(const QDateTime &modification) { return QString::number(modification.toSecsSinceEpoch()); }

// The cache's folders are private to their owner, as file managers make them. A
// folder another writer made since the look (the page's thumbnails are kept two at
// a time) serves as well.
bool dossier_prive(const QString &chemin)
{
    constexpr QFileDevice::Permissions PRIVE = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (QFileInfo(chemin).isDir())
        return true;
    const QString parent = QFileInfo(chemin).path();
    return dossier_prive(parent) && (QDir().mkdir(chemin, PRIVE) || QFileInfo(chemin).isDir());
}

}  // namespace

int taille_pour(QSize zone)
{
    // A picture fitted into the zone is at least one pixel smaller than it on its long side.
    const int cote = std::max(zone.width(), zone.height()) - 1;
    return cote <= NORMALE ? NORMALE : cote <= GRANDE ? GRANDE : 0;
}

QByteArray uri_de(const QString &chemin)
{
    return QUrl::fromLocalFile(QFileInfo(chemin).absoluteFilePath()).toEncoded(QUrl::FullyEncoded);
}

QString chemin_en_cache(const QString &racine, const QString &chemin, int taille)
{
    const QByteArray md5 = QCryptographicHash::hash(uri_de(chemin), QCryptographicHash::Md5).toHex();
    return racine + nom_du_dossier(taille) + QLatin1Char('/') + QString::fromLatin1(md5) + QStringLiteral(".png");
}

QString racine()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/thumbnails/");
}

QImage trouve(const QString &racine, const QString &chemin, int taille, const QDateTime &modification)
{
    QImageReader lecteur(chemin_en_cache(racine, chemin, taille), "png");
    const QImage vignette = lecteur.read();
    if (vignette.isNull() || vignette.text(CLE_URI) != QString::fromLatin1(uri_de(chemin)) ||
        vignette.text(CLE_MTIME) != secondes(modification))
        return {};
    return vignette;
}

bool range(const QString &racine, const QString &chemin, int taille, const QDateTime &modification,
           const QImage &vignette, QSize originale)
{
    const QString final = chemin_en_cache(racine, chemin, taille);
    if (!dossier_prive(QFileInfo(final).path()))
        return false;
    // Created readable and writable by its owner only, removed unless renamed.
    QTemporaryFile temporaire(final + QStringLiteral(".XXXXXX"));
    if (!temporaire.open())
        return false;
    // The picture's own texts: the writer's would be parsed as "key: text" and cut at the keys' "::".
    QImage ecrite = vignette;
    ecrite.setText(CLE_URI, QString::fromLatin1(uri_de(chemin)));
    ecrite.setText(CLE_MTIME, secondes(modification));
    ecrite.setText(QStringLiteral("Thumb::Size"), QString::number(QFileInfo(chemin).size()));
    if (!originale.isEmpty()) {
        ecrite.setText(QStringLiteral("Thumb::Image::Width"), QString::number(originale.width()));
        ecrite.setText(QStringLiteral("Thumb::Image::Height"), QString::number(originale.height()));
    }
    ecrite.setText(QStringLiteral("Software"), QStringLiteral("Vistarama"));
    QImageWriter ecrivain(&temporaire, "png");
    // zlib's fastest level (Qt maps quality 85 to it): written while the user waits, and
    // smaller by only a few percent at the default level.
    ecrivain.setQuality(85);
    if (!ecrivain.write(ecrite) || !temporaire.flush())
        return false;
    temporaire.close();
    // rename() replaces an older entry in one step, where QFile's would refuse it.
    if (std::rename(QFile::encodeName(temporaire.fileName()).constData(), QFile::encodeName(final).constData()) != 0)
        return false;
    temporaire.setAutoRemove(false);
    return true;
}

QImage reduite(const QImage &image, int taille)
{
    if (std::max(image.width(), image.height()) <= taille)
        return image;
    return image_pour_ecran(image, QSize(taille, taille));
}

}  // namespace cache_vignettes
