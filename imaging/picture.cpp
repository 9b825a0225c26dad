#include "picture.h"

#include "sky.h"

#include <QFile>
#include <QImageReader>
#include <memory>

#include <libwmf/api.h>
#include <libwmf/gd.h>

TPicture LoadIconPicture(const QString &path)
{
    QImageReader reader(path, "ico");
    QImage largest;
    const int count = reader.imageCount();
    for (int index = 0; index < count && reader.jumpToImage(index); ++index) {
        const QImage image = reader.read();
        if (qint64(image.width()) * image.height() > qint64(largest.width()) * largest.height())
            largest = image;
    }
    return TPicture::fromIcon(largest);
}

namespace {

struct WmfDestroyer {
    void operator()(wmfAPI *api) const { wmf_api_destroy(api); }
};
using WmfApi = std::unique_ptr<wmfAPI, WmfDestroyer>;

// gd's true-colour pixels: 7 bits of transparency (0 opaque, 127 clear) over RGB.
QRgb FromGdPixel(int pixel)
{
    const int transparency = (pixel >> 24) & 0x7F;
    const int alpha = 255 - (transparency * 255 + 63) / 127;
    return qRgba((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF, alpha);
}

QImage RenderMetafile(QByteArray &bytes)
{
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    wmfAPI *created = nullptr;
    if (wmf_api_create(&created, WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR |
                                     WMF_OPT_NO_DEBUG,
                       &options) != wmf_E_None) {
        if (created)
            wmf_api_destroy(created);
        return {};
    }
    const WmfApi api(created);
    if (wmf_mem_open(api.get(), reinterpret_cast<unsigned char *>(bytes.data()), long(bytes.size())) !=
        wmf_E_None)
        return {};
    wmfD_Rect box{};
    unsigned int width = 0, height = 0;
    if (wmf_scan(api.get(), 0, &box) != wmf_E_None ||
        wmf_display_size(api.get(), &width, &height, 96, 96) != wmf_E_None)
        return {};
    if (width == 0 || height == 0 || width > unsigned(sky::kMaxSide) ||
        height > unsigned(sky::kMaxSide) || qint64(width) * height > sky::kMaxPixels)
        return {};

    wmf_gd_t *device = WMF_GD_GetData(api.get());
    device->type = wmf_gd_image;
    device->bbox = box;
    device->width = width;
    device->height = height;
    if (wmf_play(api.get(), 0, &box) != wmf_E_None || !device->gd_image)
        return {};
    const int *pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels)
        return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = FromGdPixel(pixels[qint64(y) * width + x]);
    }
    return image;
}

}  // namespace

TPicture LoadMetafilePicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    return TPicture::fromMetafile(RenderMetafile(bytes));
}
