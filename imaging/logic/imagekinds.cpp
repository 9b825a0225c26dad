#include "imagekinds.h"

#include "chemins.h"

QString ExtensionKey(const QString &path)
{
    const QString name = nom_sans_lecteur(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    return name.mid(dot, 4).toUpper();
}

ImageKind KindOfPath(const QString &path)
{
    static const struct {
        const char *extension;
        ImageKind kind;
    } kinds[] = {
        {".RES", ImageKind::Resource},     {".WMF", ImageKind::Metafile},
        {".ICO", ImageKind::Icon},         {".SCM", ImageKind::TaggedMessage},
        {".CMS", ImageKind::LineMessage},
    };
    if (PictureFormatOfPath(path))
        return ImageKind::Picture;
    const QString key = ExtensionKey(path);
    for (const auto &entry : kinds)
        if (key == QLatin1String(entry.extension))
            return entry.kind;
    return ImageKind::Other;
}

const sky::FormatRow *PictureFormatOfPath(const QString &path)
{
    return sky::formatOfExtension(ExtensionKey(path));
}

QString ResourceNameOf(const QString &path)
{
    const QString name = nom_sans_lecteur(path).left(64);
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
