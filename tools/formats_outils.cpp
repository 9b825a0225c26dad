#include "formats_outils.h"

#include "TMultiP.h"

const FormatOutil FORMATS_OUTILS[6] = {
    {"JPG Images", &TPMultiImage::SaveAsJpeg, sky::Format::Jpeg},
    {"BMP Images", &TPMultiImage::SaveAsBmp, sky::Format::Bmp},
    {"GIF Images", &TPMultiImage::SaveAsGif, sky::Format::Gif},
    {"PCX Images", &TPMultiImage::SaveAsPcx, sky::Format::Pcx},
    {"PNG Images", &TPMultiImage::SaveAsPng, sky::Format::Png},
    {"TIF Images", &TPMultiImage::SaveAsTif, sky::Format::Tif},
};

const TSaveResolution RESOLUTIONS_OUTILS[6] = {sColorVga, sColor16, sColor256, sColorTrue, sJpegGray, sAutoMatic};

QString extension_outil(const FormatOutil &format) { return QString::fromLatin1(sky::formatRow(format.format).extension); }

const FormatOutil *format_outil(const QString &fin)
{
    for (const FormatOutil &format : FORMATS_OUTILS)
        if (extension_outil(format).mid(1).compare(fin, Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}

QString nom_converti(const QString &chemin, const QString &extension)
{
    return chemin.left(qMax(0, chemin.size() - 4)) + extension;
}
