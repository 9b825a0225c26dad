#include "formats.h"

#include "TMultiP.h"

const FormatOutil FORMATS_OUTILS[6] = {
    {"JPG Images", ".JPG", &TPMultiImage::SaveAsJpeg}, {"BMP Images", ".BMP", &TPMultiImage::SaveAsBmp},
    {"GIF Images", ".GIF", &TPMultiImage::SaveAsGif},  {"PCX Images", ".PCX", &TPMultiImage::SaveAsPcx},
    {"PNG Images", ".PNG", &TPMultiImage::SaveAsPng},  {"TIF Images", ".TIF", &TPMultiImage::SaveAsTif},
};

const TSaveResolution RESOLUTIONS_OUTILS[6] = {sColorVga, sColor16, sColor256, sColorTrue, sJpegGray, sAutoMatic};

QString nom_converti(const QString &chemin, const QString &extension)
{
    return chemin.left(qMax(0, chemin.size() - 4)) + extension;
}
