#include "imagekinds.h"

namespace {

// Start of the file name: just after the last folder or drive separator.
qsizetype NameStart(const QString &path)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i)
        if (path[i] == QLatin1Char('/') || path[i] == QLatin1Char('\\') || path[i] == QLatin1Char(':'))
            start = i + 1;
    return start;
}

}  // namespace

QString ExtensionKey(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < NameStart(path))
        return {};
    return path.mid(dot, 4).toUpper();
}

ImageKind KindOfPath(const QString &path)
{
    static const struct {
        const char *extension;
        ImageKind kind;
    } kinds[] = {
        {".BMP", ImageKind::Bmp},      {".THB", ImageKind::Bmp},
        {".JPG", ImageKind::Jpeg},     {".THJ", ImageKind::Jpeg},
        {".RES", ImageKind::Resource}, {".PNG", ImageKind::Png},
        {".GIF", ImageKind::Gif},      {".TIF", ImageKind::Tif},
        {".PCX", ImageKind::Pcx},      {".WMF", ImageKind::Metafile},
        {".ICO", ImageKind::Icon},     {".SCM", ImageKind::TaggedMessage},
        {".CMS", ImageKind::LineMessage},
    };
    const QString key = ExtensionKey(path);
    for (const auto &entry : kinds)
        if (key == QLatin1String(entry.extension))
            return entry.kind;
    return ImageKind::Other;
}

QString ResourceNameOf(const QString &path)
{
    const QString name = path.mid(NameStart(path), 64);
    return name.left(name.indexOf(QLatin1Char('.')));
}

qint64 DibByteSize(const QImage &image)
{
    if (image.isNull())
        return 0;
    const qint64 bits = image.depth();
    const qint64 colours = bits <= 8 ? (image.colorCount() > 0 ? image.colorCount() : 1 << bits) : 0;
    const qint64 header = 40 + 4 * colours;
    const qint64 row = (image.width() * bits + 31) / 32 * 4;
    return header + row * image.height();
}
