// The six formats a tool window converts to, and the six depth choices, in the
// order of their radio buttons.
#pragma once

#include "imagefile.h"

#include <QString>

class TPMultiImage;

struct FormatOutil {
    const char *libelle;    // "JPG Images"
    bool (TPMultiImage::*ecrit)(const QString &);
    sky::Format format;
};
extern const FormatOutil FORMATS_OUTILS[6];
// Its extension: ".JPG" and so on.
QString extension_outil(const FormatOutil &format);
// The format whose extension, without its dot, is `fin` in any case ("jpg"); null when none.
const FormatOutil *format_outil(const QString &fin);

// The depths of the radios "4 bit (16 System colors)", "4 bit (16 colors)", "8 bit",
// "24 bit", "Jpeg Grayscale" and "Automatic", in that order.
extern const TSaveResolution RESOLUTIONS_OUTILS[6];

// The index of the first checked button of `boutons`, 0 when none is.
template <typename Bouton, size_t N>
size_t coche(Bouton *const (&boutons)[N])
{
    for (size_t i = 0; i < N; ++i)
        if (boutons[i]->isChecked())
            return i;
    return 0;
}

// `chemin` without its last four characters, followed by `extension`:
// "VACANCES.BMP" gives "VACANCES.JPG", "PHOTO.JPEG" gives "PHOTO..JPG".
QString nom_converti(const QString &chemin, const QString &extension);
