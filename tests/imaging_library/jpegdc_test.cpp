// The picture at 1/8 from a JPEG's DC values against libjpeg's own decoding at 1/8.
#include "jpegdc.h"
#include "libjpegfiles.h"
#include "photo_tournee.h"
#include "pictures.h"
#include "sky.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTransform>
#include <gtest/gtest.h>
#include <thread>

using namespace sky;

namespace {

QImage libjpegEighth(const QByteArray &jpeg, J_COLOR_SPACE space)
{
    jpeg_decompress_struct d{};
    jpeg_error_mgr errors{};
    d.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const uchar *>(jpeg.constData()), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = space;
    d.scale_num = 1;
    d.scale_denom = 8;
    jpeg_start_decompress(&d);
    QImage image(int(d.output_width), int(d.output_height),
                 space == JCS_GRAYSCALE ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = image.scanLine(int(d.output_scanline));
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return image;
}

int dcPicture(const QByteArray &jpeg, bool grey, QImage &out)
{
    ProgressTracker tracker({}, 1);
    DcPicture picture;
    const int status =
        decodeDc(reinterpret_cast<const uchar *>(jpeg.constData()), size_t(jpeg.size()), grey, tracker, 1, picture);
    out = picture.image;
    return status;
}

QString written(const QTemporaryDir &dir, const char *name, const QByteArray &jpeg)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
    return path;
}

}  // namespace

// Grey and the chrominance whole or halved one way are libjpeg's very samples;
// halved both ways, libjpeg takes more than the DC of the chrominance.
TEST(DcPicture, IsLibjpegsEighthForEverySamplingAndRestartLayout)
{
    const Layout layouts[] = {
        {"4:2:0, edges not on an MCU", 333, 251, 3, 2, 2, 0, false},
        {"4:2:2, restarts", 333, 251, 3, 2, 1, 7, false},
        {"4:4:0", 250, 170, 3, 1, 2, 0, false},
        {"4:4:4, a restart every MCU", 100, 77, 3, 1, 1, 1, false},
        {"grey, restarts", 201, 99, 1, 1, 1, 5, false},
    };
    for (const Layout &layout : layouts) {
        SCOPED_TRACE(layout.name);
        const QByteArray jpeg = libjpegFile(layout);
        QImage ours;
        ASSERT_EQ(Ok, dcPicture(jpeg, false, ours));
        const QImage theirs = libjpegEighth(jpeg, JCS_RGB);
        ASSERT_EQ(theirs.size(), ours.size());
        if (layout.h == 2 && layout.v == 2) {
            EXPECT_GE(psnr(theirs, ours), 40);
        } else {
            EXPECT_EQ(theirs, ours);
        }
        if (layout.components == 1) {
            ASSERT_EQ(Ok, dcPicture(jpeg, true, ours));
            EXPECT_TRUE(ours.isGrayscale());
            EXPECT_TRUE(sameColours(libjpegEighth(jpeg, JCS_GRAYSCALE), ours));
        }
    }
}

TEST(DcPicture, LeavesToLibjpegTheFilesItDoesNotRead)
{
    const Layout layout = {"4:2:0, restarts", 96, 64, 3, 2, 2, 2, false};
    const QByteArray source = libjpegFile(layout);
    QByteArray misnumbered = source;
    const qsizetype second = misnumbered.indexOf(QByteArray("\xFF\xD1", 2));
    ASSERT_GT(second, 0);
    misnumbered[second + 1] = char(0xD5);
    Layout progressive = layout;
    progressive.progressive = true;
    QByteArray adobeRgb = libjpegFile({"4:4:4", 96, 64, 3, 1, 1, 0, false});
    adobeRgb.insert(2, QByteArray("\xFF\xEE\x00\x0E" "Adobe\x00\x64\x00\x00\x00\x00\x00", 16));  // transform 0: RGB
    const struct {
        const char *name;
        QByteArray jpeg;
    } others[] = {{"damaged", misnumbered}, {"progressive", libjpegFile(progressive)}, {"RGB", adobeRgb}};
    QTemporaryDir dir;
    for (const auto &other : others) {
        SCOPED_TRACE(other.name);
        QImage picture;
        EXPECT_EQ(Unsupported, dcPicture(other.jpeg, false, picture));
        EXPECT_TRUE(picture.isNull());
        ASSERT_EQ(Ok, readJpeg(written(dir, other.name, other.jpeg), 24, 8, false, picture, {}));
        EXPECT_EQ(libjpegEighth(other.jpeg, JCS_RGB), picture);
    }
    // A scan that names a component twice, and another not at all (libjpeg refuses it).
    QByteArray twice = source;
    const qsizetype scan = twice.indexOf(QByteArray("\xFF\xDA", 2));
    twice[scan + 9] = twice[scan + 7];
    QImage none;
    EXPECT_EQ(Unsupported, dcPicture(twice, false, none));
}

TEST(DcPicture, ReadAtAnEighthUprightWithTheFilesDensity)
{
    QByteArray jpeg = libjpegFile({"4:2:0", 333, 251, 3, 2, 2, 0, false});
    ASSERT_EQ(QByteArray("JFIF"), jpeg.mid(6, 4));
    jpeg.replace(13, 5, QByteArray("\x01\x01\x2C\x01\x2C", 5));  // 300 dots per inch
    const QByteArray exif = bloc_exif(6);                         // a quarter turn clockwise
    const int length = int(exif.size()) + 2;
    jpeg.insert(2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + exif);
    QTemporaryDir dir;
    QImage picture;
    ASSERT_EQ(Ok, readJpeg(written(dir, "turned.jpg", jpeg), 24, 8, false, picture, {}));
    const QImage upright = libjpegEighth(jpeg, JCS_RGB).transformed(QTransform().rotate(90));
    ASSERT_EQ(upright.size(), picture.size());
    EXPECT_GE(psnr(upright, picture), 40);
    EXPECT_EQ(11811, picture.dotsPerMeterX());
    EXPECT_EQ(11811, picture.dotsPerMeterY());
}

// A reading's memory outlives its thread, which a thread pool lets go when idle:
// the next reading, in another thread, takes it back instead of fresh pages.
TEST(DcPicture, ScratchMemoryOutlivesTheThreadThatUsedIt)
{
    const auto usedInAThread = [](size_t size) {
        uchar *used = nullptr;
        std::thread([&] { used = Scratch().take(size); }).join();
        return used;
    };
    uchar *first = usedInAThread(size_t(1) << 20);
    EXPECT_EQ(first, usedInAThread(size_t(1) << 20));
}
