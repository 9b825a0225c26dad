// Writes a small seed corpus for the fuzz targets into DIR/bmp, DIR/pcx and
// DIR/dib (small pictures from our own encoders at every depth they write, and
// the variants they do not write, crafted byte by byte) and into DIR/jpeg,
// DIR/png, DIR/gif and DIR/tif (our writers' files in their variants).
#include "bytes.h"
#include "codecs.h"
#include "sky.h"
#include "octets.h"

#include <QDir>
#include <QImage>
#include <cstdio>
#include <utility>

using namespace sky;

namespace {

QImage picture(int bits)
{
    const int colours = bits == 1 ? 2 : bits == 4 || bits == 0 ? 16 : 256;
    QImage image(13, 7, bits == 24 ? QImage::Format_RGB888 : QImage::Format_Indexed8);
    if (bits != 24) {
        QVector<QRgb> palette;
        for (int i = 0; i < colours; ++i)
            palette.append(qRgb(i * 40 & 255, i * 3 & 255, 255 - i));
        image.setColorTable(palette);
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, bits == 24 ? qRgb(x * 19, y * 30, 0xC8) : uint((x / 2 + y) % colours));
    return image;
}

using Encoder = int (*)(const QImage &, int, OutputFile &, ProgressTracker &);

bool encodeTo(Encoder encode, const QImage &image, int bits, const QString &path)
{
    OutputFile file(path);
    ProgressTracker tracker({}, image.height());
    return encode(image, bits, file, tracker) > 0 && file.commit() > 0;
}

Octets bmpHeaders(int width, int height, int bits, int compression, int colours, int offset)
{
    Octets o;
    o.bytes({'B', 'M'}).u32(0).u32(0).u32(offset);
    o.u32(40).u32(width).u32(height).u16(1).u16(bits).u32(compression).u32(0);
    o.u32(2835).u32(2835).u32(colours).u32(0);
    return o;
}

QList<Octets> craftedBmps()
{
    Octets rle8 = bmpHeaders(6, 4, 8, 1, 4, 54 + 16);
    rle8.repeat(0x40, 16).bytes({3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 2, 2, 0, 2, 2, 1, 2, 3, 0, 0, 1, 1, 0, 1});
    Octets rle4 = bmpHeaders(5, 2, 4, 2, 16, 54 + 64);
    rle4.repeat(0x80, 64).bytes({5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 1});
    Octets fields = bmpHeaders(4, 2, 16, 3, 0, 54 + 12);
    fields.u32(0xF800).u32(0x07E0).u32(0x001F).repeat(0x5A, 16);
    Octets topDown32 = bmpHeaders(3, -2, 32, 0, 0, 54);
    topDown32.repeat(0x33, 24);
    Octets core;
    core.bytes({'B', 'M'}).u32(0).u32(0).u32(14 + 12 + 6).u32(12).u16(3).u16(2).u16(1).u16(1);
    core.bytes({0, 0, 255, 255, 0, 0, 0xA0, 0, 0, 0, 0x40, 0, 0, 0});
    Octets v5;
    v5.bytes({'B', 'M'}).u32(0).u32(0).u32(14 + 124);
    v5.u32(124).u32(2).u32(1).u16(1).u16(32).u32(3).u32(8).repeat(0, 16);
    v5.u32(0xFF).u32(0xFF00).u32(0xFF0000).u32(0xFF000000).repeat(0, 124 - 56).repeat(0x77, 8);
    return {rle8, rle4, fields, topDown32, core, v5};
}

QList<Octets> craftedPcxs()
{
    auto header = [](int version, int encoding, int bits, int planes, int width, int height, int bpl) {
        Octets o;
        o.bytes({0x0A, version, encoding, bits}).u16(0).u16(0).u16(width - 1).u16(height - 1);
        o.u16(96).u16(96).repeat(0x55, 48).u8(0).u8(planes).u16(bpl).u16(1).repeat(0, 58);
        return o;
    };
    Octets ega = header(3, 1, 1, 4, 10, 3, 2);
    ega.bytes({0x55, 0x40, 0x33, 0x00, 0x0F, 0x00, 0x00, 0xC1, 0xC0, 0xD0, 0x00});
    Octets raw = header(5, 0, 8, 3, 2, 1, 2);
    raw.bytes({10, 11, 20, 21, 30, 31});
    Octets packed = header(5, 1, 2, 1, 8, 2, 2);
    packed.bytes({0x1B, 0xE4, 0xC4, 0x99});
    return {ega, raw, packed};
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char *sub : {"bmp", "pcx", "dib"})
        root.mkpath(QString::fromLatin1(sub));
    const auto path = [&root](const char *sub, const QString &name) {
        return root.filePath(QString::fromLatin1(sub) + QLatin1Char('/') + name);
    };
    bool ok = true;
    for (const int bits : {1, 4, 8, 24, 0}) {
        const QImage image = picture(bits);
        ok = encodeTo(encodeBmp, image, bits, path("bmp", QStringLiteral("enc%1.bmp").arg(bits))) && ok;
        ok = encodeTo(encodePcx, image, bits, path("pcx", QStringLiteral("enc%1.pcx").arg(bits))) && ok;
    }
    const QList<Octets> bmps = craftedBmps();
    for (int i = 0; i < bmps.size(); ++i)
        saveFile(path("bmp", QStringLiteral("crafted%1.bmp").arg(i)), bmps[i].data);
    const QList<Octets> pcxs = craftedPcxs();
    for (int i = 0; i < pcxs.size(); ++i)
        saveFile(path("pcx", QStringLiteral("crafted%1.pcx").arg(i)), pcxs[i].data);
    // The formats read through the codec libraries, from our own writers.
    for (const char *sub : {"jpeg", "png", "gif", "tif"})
        root.mkpath(QString::fromLatin1(sub));
    const QImage colour = picture(24), indexed = picture(8);
    ok = writeJpeg(path("jpeg", QStringLiteral("colour.jpg")), 90, 0, 24, colour, {}) > 0 && ok;
    ok = writeJpeg(path("jpeg", QStringLiteral("grey.jpg")), 40, 20, 1, colour, {}) > 0 && ok;
    ok = writePng(path("png", QStringLiteral("colour.png")), 24, false, colour, {}) > 0 && ok;
    ok = writePng(path("png", QStringLiteral("interlaced.png")), 8, true, indexed, {}) > 0 && ok;
    ok = writePng(path("png", QStringLiteral("mono.png")), 1, false, indexed, {}) > 0 && ok;
    ok = writeGif(path("gif", QStringLiteral("indexed.gif")), 8, indexed, {}) > 0 && ok;
    ok = writeGif(path("gif", QStringLiteral("mono.gif")), 1, colour, {}) > 0 && ok;
    for (const auto &[compression, bits] : {std::pair{1, 24}, std::pair{5, 8}, std::pair{32773, 24}, std::pair{2, 1}})
        ok = writeTiff(path("tif", QStringLiteral("c%1_%2.tif").arg(compression).arg(bits)), compression, bits,
                       bits == 24 ? colour : indexed, {}) > 0 &&
             ok;
    // The bitmaps without their 14-byte file header.
    for (const QString &name : QDir(root.filePath(QStringLiteral("bmp"))).entryList(QDir::Files))
        saveFile(path("dib", name + QStringLiteral(".dib")), loadFile(path("bmp", name)).mid(14));
    return ok ? 0 : 1;
}
