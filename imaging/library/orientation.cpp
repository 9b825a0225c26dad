#include "orientation.h"

#include <libexif/exif-data.h>

#include <QTransform>

#include <cstdlib>
#include <memory>

namespace sky {
namespace {

struct Unref {
    void operator()(ExifData *data) const { exif_data_unref(data); }
};
using ExifPtr = std::unique_ptr<ExifData, Unref>;

// The block as it stands: no tag fixed, added or dropped, the maker note left alone.
ExifPtr loadExif(const uchar *data, qsizetype size)
{
    if (size <= 0 || size > 0xFFFF)
        return {};
    ExifPtr exif(exif_data_new());
    if (!exif)
        return {};
    exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(exif.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(exif.get(), data, unsigned(size));
    return exif;
}

ExifEntry *orientationEntry(ExifData *exif)
{
    ExifEntry *entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    return entry && entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->data &&
                   entry->size >= 2
               ? entry
               : nullptr;
}

}  // namespace

int exifOrientation(const uchar *data, qsizetype size)
{
    const ExifPtr exif = loadExif(data, size);
    ExifEntry *entry = exif ? orientationEntry(exif.get()) : nullptr;
    if (!entry)
        return 1;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif.get()));
    return value >= 1 && value <= 8 ? value : 1;
}

QByteArray exifWithoutTurn(const QByteArray &block)
{
    const ExifPtr exif = loadExif(reinterpret_cast<const uchar *>(block.constData()), block.size());
    ExifEntry *entry = exif ? orientationEntry(exif.get()) : nullptr;
    if (!entry)
        return {};
    exif_set_short(entry->data, exif_data_get_byte_order(exif.get()), 1);
    unsigned char *saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif.get(), &saved, &size);
    QByteArray result(reinterpret_cast<const char *>(saved), qsizetype(size));
    std::free(saved);  // libexif's default allocator
    return result;
}

QImage upright(const QImage &image, int orientation)
{
    // 2 mirrored, 3 half a turn, 4 flipped, 5 mirrored quarter turn clockwise,
    // 6 quarter turn clockwise, 7 mirrored quarter turn anticlockwise, 8 quarter turn anticlockwise.
    // Quarter turns through QTransform keep the picture's format; the mirror comes after.
    static const int quarterTurns[9] = {0, 0, 0, 2, 2, 1, 1, 3, 3};
    static const bool mirroredAfter[9] = {false, false, true, false, true, true, false, true, false};
    if (orientation < 2 || orientation > 8)
        return image;
    QImage turned = quarterTurns[orientation] ? image.transformed(QTransform().rotate(90 * quarterTurns[orientation]))
                                              : image;
    if (mirroredAfter[orientation])
        turned = turned.mirrored(true, false);
    if (quarterTurns[orientation] % 2) {
        turned.setDotsPerMeterX(image.dotsPerMeterY());
        turned.setDotsPerMeterY(image.dotsPerMeterX());
    }
    return turned;
}

}  // namespace sky
