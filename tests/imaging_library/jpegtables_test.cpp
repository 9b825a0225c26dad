// Tables of a JPEG's own against the files libjpeg writes with the standard
// ones (Qt's writer) and with its own optimised ones.
#include "jpegtables.h"
#include "libjpegfiles.h"
#include "pictures.h"
#include "sky.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QImageWriter>
#include <QRandomGenerator>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <numeric>

using namespace sky;

namespace {

QByteArray jpegOf(const QImage &picture, int quality, bool optimised, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(optimised);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(picture));
    return buffer.data();
}

// What writeWithOwnTables writes, and its status.
QByteArray rewritten(const QByteArray &jpeg, int &status)
{
    char *data = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&data, &size);
    status = writeWithOwnTables(reinterpret_cast<const uchar *>(jpeg.constData()), size_t(jpeg.size()), out);
    std::fclose(out);
    QByteArray written(data, qsizetype(size));
    std::free(data);
    return written;
}

QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image;
}

}  // namespace

TEST(OwnTables, SamePictureNoLargerThanLibjpegsOptimisedTables)
{
    const struct {
        const char *name;
        QImage picture;
        int quality;
    } cases[] = {
        {"photo", photoPicture(640, 480), 25},
        {"photo, edges not on a block", photoPicture(333, 177), 75},
        {"one pixel", photoPicture(1, 1), 90},
        {"grey", photoPicture(301, 203).convertToFormat(QImage::Format_Grayscale8), 60},
        {"noise: codes of 16 bits and many stuffed bytes", noise(256, 256), 100},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray standard = jpegOf(c.picture, c.quality, false);
        const QByteArray optimised = jpegOf(c.picture, c.quality, true);
        int status = 0;
        const QByteArray own = rewritten(standard, status);
        ASSERT_EQ(Ok, status);
        EXPECT_LT(own.size(), standard.size());
        EXPECT_LE(own.size(), optimised.size());
        const QImage expected = QImage::fromData(standard, "jpeg");
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(expected, QImage::fromData(own, "jpeg"));
    }
}

TEST(OwnTables, OtherJpegsAreLeftAsTheyAre)
{
    const QByteArray standard = jpegOf(photoPicture(64, 48), 80, false);
    // Ones that make no code of the tables, stuffed as a writer stuffs 0xFF.
    QByteArray damaged = standard;
    for (qsizetype i = damaged.size() - 30; i < damaged.size() - 10; i += 2)
        damaged.replace(i, 2, QByteArray("\xFF\x00", 2));
    const QByteArray others[] = {
        damaged,
        jpegOf(photoPicture(64, 48), 80, false, true),  // progressive
        standard.left(standard.size() - 40),            // cut
        standard.left(2),
        QByteArray("not a picture at all"),
    };
    for (const QByteArray &jpeg : others) {
        int status = 0;
        EXPECT_TRUE(rewritten(jpeg, status).isEmpty());
        EXPECT_EQ(BadFormat, status);
    }
}

TEST(OwnTables, CodesFitSixteenBitsLeaveTheOnesFreeAndFollowFrequency)
{
    std::array<long, 256> uniform{}, single{}, pair{}, fibonacci{};
    uniform.fill(7);
    single[42] = 1000;
    pair[0] = 1;
    pair[255] = 1 << 20;
    // Frequencies that grow like Fibonacci numbers give a tree 30 levels deep.
    for (size_t i = 0, a = 1, b = 1; i < 30; ++i, b = a + b, a = b - a)
        fibonacci[i * 3] = long(a);
    for (const auto *frequencies : {&uniform, &single, &pair, &fibonacci}) {
        const HuffmanTable table = optimalTable(*frequencies);
        const int used = int(std::count_if(frequencies->begin(), frequencies->end(), [](long f) { return f > 0; }));
        ASSERT_EQ(size_t(used), table.symbols.size());
        ASSERT_EQ(used, std::accumulate(std::begin(table.counts), std::end(table.counts), 0));
        // Kraft's sum below one: a code of all ones is left over.
        double kraft = 0;
        std::vector<int> lengthOf(256, 0);
        for (int length = 1, k = 0; length <= 16; ++length)
            for (int i = 0; i < table.counts[length - 1]; ++i, ++k) {
                kraft += std::ldexp(1.0, -length);
                lengthOf[table.symbols[size_t(k)]] = length;
            }
        EXPECT_LT(kraft, 1.0);
        for (size_t a = 0; a < 256; ++a)
            for (size_t b = 0; b < 256; ++b)
                if ((*frequencies)[a] > (*frequencies)[b] && (*frequencies)[b] > 0) {
                    EXPECT_LE(lengthOf[a], lengthOf[b]) << a << " " << b;
                }
    }
    EXPECT_GT(optimalTable(fibonacci).counts[15], 0);
}

// Below the qualities that keep the colour whole, the writer gives what
// libjpeg gives with its optimised tables, without their buffer.
TEST(OwnTables, TheWriterCodesAsLibjpegsOptimisedTablesDo)
{
    QTemporaryDir dir;
    const QImage photo = photoPicture(640, 480);
    for (const int quality : {25, 75, 89}) {
        SCOPED_TRACE(quality);
        const QString path = dir.filePath(QStringLiteral("q%1.jpg").arg(quality));
        ASSERT_EQ(Ok, writeJpeg(path, quality, 0, 24, photo, {}));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray ours = file.readAll();
        const QByteArray optimised = jpegOf(photo, quality, true);
        EXPECT_LE(ours.size(), optimised.size());
        EXPECT_EQ(QImage::fromData(optimised, "jpeg"), QImage::fromData(ours, "jpeg"));
    }
}

namespace {

// The samples libjpeg decodes, in colour or grey.
QByteArray samples(const QByteArray &jpeg, J_COLOR_SPACE space = JCS_RGB)
{
    jpeg_decompress_struct d{};
    jpeg_error_mgr errors{};
    d.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const uchar *>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = space;
    jpeg_start_decompress(&d);
    QByteArray pixels(qsizetype(d.output_width) * d.output_height * d.output_components, 0);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = reinterpret_cast<uchar *>(pixels.data()) +
                       size_t(d.output_scanline) * d.output_width * size_t(d.output_components);
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return pixels;
}

// libjpeg's standard Huffman tables, as it codes without optimising.
void setStandardTables(Requantisation &to)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    c.in_color_space = JCS_RGB;
    c.input_components = 3;
    jpeg_set_defaults(&c);
    for (int slot = 0; slot < 2; ++slot)
        for (const auto &[kind, table] : {std::pair{0, c.dc_huff_tbl_ptrs[slot]}, std::pair{1, c.ac_huff_tbl_ptrs[slot]}}) {
            HuffmanTable &to_table = to.huffman[kind][slot];
            std::copy_n(table->bits + 1, 16, to_table.counts);
            to_table.symbols.assign(table->huffval, table->huffval + std::accumulate(table->bits + 1, table->bits + 17, 0));
        }
    jpeg_destroy_compress(&c);
}

QByteArray requantised(const QByteArray &jpeg, const Requantisation &to, int &status)
{
    char *data = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&data, &size);
    status = requantiseJpeg(reinterpret_cast<const uchar *>(jpeg.constData()), size_t(jpeg.size()), to, out, {});
    std::fclose(out);
    QByteArray written(data, qsizetype(size));
    std::free(data);
    return written;
}

}  // namespace

// Steps of 1 keep every coefficient's value: the recoded file decodes to the
// source's very samples, in colour or its luminance alone, whatever the
// sampling and the restart markers.
TEST(Requantise, StepsOfOneGiveTheSourcesSamples)
{
    const Layout layouts[] = {
        {"4:2:0, edges not on an MCU", 333, 251, 3, 2, 2, 0, false},
        {"4:2:0, blocks of the last MCUs beyond the picture", 325, 245, 3, 2, 2, 0, false},
        {"4:2:2, restarts", 333, 251, 3, 2, 1, 7, false},
        {"4:4:4, a restart every MCU", 100, 77, 3, 1, 1, 1, false},
        {"grey, restarts", 201, 99, 1, 1, 1, 5, false},
    };
    Requantisation own, standard;
    std::fill_n(&own.tables[0][0], 2 * 64, uint16_t(1));
    std::fill_n(&standard.tables[0][0], 2 * 64, uint16_t(1));
    setStandardTables(standard);
    for (const Layout &layout : layouts)
        for (Requantisation *to : {&own, &standard})
            for (const bool grey : {false, true}) {
                SCOPED_TRACE(testing::Message() << layout.name << (to == &own ? ", tables of its own" : ", standard tables")
                                                << (grey ? ", grey" : ""));
                to->grey = grey;
                const QByteArray source = libjpegFile(layout);
                int status = 0;
                const QByteArray recoded = requantised(source, *to, status);
                ASSERT_EQ(Ok, status);
                const J_COLOR_SPACE space = grey ? JCS_GRAYSCALE : JCS_RGB;
                EXPECT_TRUE(samples(source, space) == samples(recoded, space));
                EXPECT_EQ(grey || layout.components == 1,
                          QImage::fromData(recoded, "jpeg").format() == QImage::Format_Grayscale8);
            }
}

TEST(Requantise, LeavesWhatItCannotRecodeUnwritten)
{
    const Layout layout = {"4:2:0, restarts", 96, 64, 3, 2, 2, 2, false};
    const QByteArray source = libjpegFile(layout);
    // The second restart marker says RST5 where RST1 is due.
    QByteArray misnumbered = source;
    const qsizetype second = misnumbered.indexOf(QByteArray("\xFF\xD1", 2));
    ASSERT_GT(second, 0);
    misnumbered[second + 1] = char(0xD5);
    Layout progressive = layout;
    progressive.progressive = true;
    const QByteArray others[] = {misnumbered, libjpegFile(progressive), source.left(source.size() - 30)};
    // Tables of its own: a first pass finds the damage before anything is written.
    Requantisation to;
    std::fill_n(&to.tables[0][0], 2 * 64, uint16_t(4));
    for (const QByteArray &jpeg : others) {
        int status = 0;
        EXPECT_TRUE(requantised(jpeg, to, status).isEmpty());
        EXPECT_EQ(BadFormat, status);
    }
}
