#include "entrees.h"

#include "config_sli.h"
#include "erreurs.h"
#include "fichier_sli.h"
#include "formats.h"
#include "sky.h"
#include "systeme.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>

namespace fuzz {

namespace {

// One folder for the whole run: the readers under test read files.
const QString &dossier()
{
    static const QTemporaryDir temporaire;
    static const QString chemin = temporaire.path() + QLatin1Char('/');
    return chemin;
}

QString ecrit(const QString &nom, const uint8_t *data, size_t size)
{
    const QString chemin = dossier() + nom;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        fichier.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return chemin;
}

QByteArray contenu(const QString &chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

void exige(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

void diaporama(const uint8_t *data, size_t size)
{
    const QString chemin = ecrit(QStringLiteral("FUZZ.SLI"), data, size);
    try {
        ouvre_fichier_sli(chemin);
        const int n = nombre_fiches();
        for (int k = 0; k < n; ++k) {
            lit_fiche(k);
            // Every text and value a window would take from the record.
            (void)fiche.chemin_image.valeur();
            (void)fiche.commentaire.valeur();
            (void)fiche.chemin_son.valeur();
            (void)fiche.police.valeur();
            (void)code_vers_style(fiche.style_texte);
        }
        const QByteArray avant = contenu(chemin).left(qsizetype(n) * TAILLE_FICHE);
        if (n >= 2) {
            const int k = 1 + int(data[0]) % (n - 1);
            insere_fiche(k);
            exige(nombre_fiches() == n + 1);
            lit_fiche(k);
            exige(fiche.chemin_image.est_vide() && fiche.commentaire.est_vide());
            supprime_diapo(k);
            exige(nombre_fiches() == n && contenu(chemin) == avant);
        }
        if (n >= 3) {
            const int depuis = 1 + int(data[1]) % (n - 1), vers = 1 + int(data[2]) % (n - 1);
            deplace_diapo(depuis, vers);
            exige(nombre_fiches() == n);
            deplace_diapo(vers, depuis);
            exige(contenu(chemin) == avant);
        }
    } catch (const erreurs::ErreurES &) {
        // A file the layer refuses (not a slideshow, say) is reported to the user.
    }
    if (fichier_sli_ouvert())
        ferme_fichier_sli();
}

void configuration(const uint8_t *data, size_t size)
{
    const QString chemin = ecrit(QStringLiteral("SLI.CFG"), data, size);
    fixe_dossier_config(dossier());
    // A damaged file is named in a box (answered here, as a person would) and mended with the defaults.
    static bool endommage = false;
    endommage = false;
    systeme::seams().boite = [](const systeme::Boite &) {
        endommage = true;
        return int(systeme::OK);
    };
    try {
        lit_config();
    } catch (const erreurs::ErreurES &) {
        return;  // a file that cannot be mended either: the program says so
    }
    const ReglagesPresentation lus = reglages;
    const QByteArray mende = contenu(chemin);
    sauve_config();
    exige(contenu(chemin) == (endommage ? mende : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))));
    lit_config();
    exige(reglages.mode_defilement == lus.mode_defilement && reglages.controle == lus.controle &&
          reglages.delai == lus.delai && reglages.attendre_fin_son == lus.attendre_fin_son);
}

void image(sky::Format format, const uint8_t *data, size_t size)
{
    const sky::FormatRow &ligne = sky::formatRow(format);
    const QString chemin = ecrit(QStringLiteral("image") + QLatin1String(ligne.extension), data, size);
    sky::FileInfo info;
    const bool decrit = sky::succeeded(sky::fileInfo(chemin, info));
    // Pictures larger than this are read at one depth only: the target stays fast.
    const bool grande = decrit && qint64(info.width) * info.height > qint64(1) << 20;
    for (const int bits : {24, 8, 4, 1, 0}) {
        QImage lue;
        const int status = ligne.read(chemin, bits, bits == 4, lue, {});
        if (sky::succeeded(status))
            exige(decrit && !lue.isNull() && lue.size() == QSize(info.width, info.height));
        else
            exige(status == sky::Truncated || lue.isNull());
        if (grande || (!sky::succeeded(status) && status != sky::Truncated))
            break;
    }
    // A thumbnail's reading of a JPEG: its blocks' DC values alone, or libjpeg at 1/8.
    if (format == sky::Format::Jpeg) {
        QImage huitieme;
        const int status = sky::readJpeg(chemin, 24, 8, false, huitieme, {});
        if (sky::succeeded(status))
            exige(decrit && huitieme.size() == QSize((info.width + 7) / 8, (info.height + 7) / 8));
        else
            exige(status == sky::Truncated || huitieme.isNull());
    }
    // What a conversion reads without the whole picture: the rows one at a
    // time, and a JPEG's coefficients recoded a block at a time.
    const QString cible = dossier() + QStringLiteral("cible");
    QFile::remove(cible);
    if (sky::succeeded(sky::writeStreamed(chemin, cible, sky::Format::Bmp, {}, {}))) {
        sky::FileInfo ecrite;
        exige(decrit && sky::succeeded(sky::fileInfo(cible, ecrite)) && ecrite.width == info.width &&
              ecrite.height == info.height);
    }
    // In colour, and in grey, which keeps the luminance alone, its blocks in the order of a scan of their own.
    for (const bool gris : {false, true}) {
        QFile::remove(cible);
        sky::FileInfo recodee;
        if (format == sky::Format::Jpeg && sky::succeeded(sky::recodeJpeg(chemin, cible, 95, gris, {})))
            exige(decrit && sky::succeeded(sky::fileInfo(cible, recodee)) && recodee.width == info.width &&
                  recodee.height == info.height && (!gris || recodee.bitsPerPixel == 8));
    }
}

}  // namespace fuzz
