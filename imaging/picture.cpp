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

// libwmf's gd layer hands the picture over as a PNG through this sink (memory
// output into a buffer of the caller's own).
int CollectPng(void *context, char *buffer, int length)
{
    static_cast<QByteArray *>(context)->append(buffer, length);
    return length;
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
    wmf_gd_t *device = WMF_GD_GetData(api.get());
    if (!(device->flags & WMF_GD_SUPPORTS_PNG) ||
        wmf_mem_open(api.get(), reinterpret_cast<unsigned char *>(bytes.data()), long(bytes.size())) !=
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

    QByteArray png;
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = CollectPng;
    device->bbox = box;
    device->width = width;
    device->height = height;
    if (wmf_play(api.get(), 0, &box) != wmf_E_None)
        return {};
    return QImage::fromData(png, "PNG");
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
