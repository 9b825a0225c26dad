#include "formats.h"

#include "TMultiP.h"

const FormatOutil FORMATS_OUTILS[6] = {
    {"JPG Images", ".JPG", &TPMultiImage::SaveAsJpeg, SaveFormat::Jpeg},
    {"BMP Images", ".BMP", &TPMultiImage::SaveAsBmp, SaveFormat::Bmp},
    {"GIF Images", ".GIF", &TPMultiImage::SaveAsGif, SaveFormat::Gif},
    {"PCX Images", ".PCX", &TPMultiImage::SaveAsPcx, SaveFormat::Pcx},
    {"PNG Images", ".PNG", &TPMultiImage::SaveAsPng, SaveFormat::Png},
    {"TIF Images", ".TIF", &TPMultiImage::SaveAsTif, SaveFormat::Tif},
};

const TSaveResolution RESOLUTIONS_OUTILS[6] = {sColorVga, sColor16, sColor256, sColorTrue, sJpegGray, sAutoMatic};

QString nom_converti(const QString &chemin, const QString &extension)
{
    return chemin.left(qMax(0, chemin.size() - 4)) + extension;
}
