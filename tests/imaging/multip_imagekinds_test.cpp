// What the image control makes of a file name.
#include "imagekinds.h"

#include <gtest/gtest.h>

TEST(ImageKinds, ExtensionIsUpperCaseAndCutToFourCharacters)
{
    EXPECT_EQ(ExtensionKey(QStringLiteral("photo.jpg")), QStringLiteral(".JPG"));
    EXPECT_EQ(ExtensionKey(QStringLiteral("photo.jpeg")), QStringLiteral(".JPE"));
    EXPECT_EQ(ExtensionKey(QStringLiteral("/un.dossier/photo")), QString());
    EXPECT_EQ(ExtensionKey(QStringLiteral("C:\\UN.DOS\\PHOTO")), QString());
    EXPECT_EQ(ExtensionKey(QStringLiteral("archive.tar.Gif")), QStringLiteral(".GIF"));
    EXPECT_EQ(ExtensionKey(QStringLiteral("point.")), QStringLiteral("."));
}

TEST(ImageKinds, KindByExtension)
{
    using sky::Format;
    const struct {
        const char *path;
        Format format;
    } pictures[] = {{"a.bmp", Format::Bmp}, {"a.THB", Format::Bmp}, {"a.thj", Format::Jpeg},
                    {"a.jpg", Format::Jpeg}, {"a.tiff", Format::Tif} /* ".TIF" after the cut */,
                    {"a.Gif", Format::Gif}, {"a.pcx", Format::Pcx}, {"a.png", Format::Png}};
    for (const auto &p : pictures) {
        EXPECT_EQ(KindOfPath(QString::fromLatin1(p.path)), ImageKind::Picture) << p.path;
        ASSERT_NE(PictureFormatOfPath(QString::fromLatin1(p.path)), nullptr) << p.path;
        EXPECT_EQ(PictureFormatOfPath(QString::fromLatin1(p.path))->format, p.format) << p.path;
    }
    EXPECT_EQ(KindOfPath(QStringLiteral("a.jpeg")), ImageKind::Other);
    EXPECT_EQ(KindOfPath(QStringLiteral("LOGO.RES")), ImageKind::Resource);
    EXPECT_EQ(PictureFormatOfPath(QStringLiteral("LOGO.RES")), nullptr);
    EXPECT_EQ(KindOfPath(QStringLiteral("a.wmf")), ImageKind::Metafile);
    EXPECT_EQ(KindOfPath(QStringLiteral("a.ico")), ImageKind::Icon);
    EXPECT_EQ(KindOfPath(QStringLiteral("a.scm")), ImageKind::TaggedMessage);
    EXPECT_EQ(KindOfPath(QStringLiteral("a.cms")), ImageKind::LineMessage);
    EXPECT_EQ(KindOfPath(QStringLiteral("a.txt")), ImageKind::Other);
    EXPECT_EQ(KindOfPath(QString()), ImageKind::Other);
}

TEST(ImageKinds, ResourceNameIsTheFileNameUpToItsFirstDot)
{
    EXPECT_EQ(ResourceNameOf(QStringLiteral("C:\\IMAGES\\LOGO.RES")), QStringLiteral("LOGO"));
    EXPECT_EQ(ResourceNameOf(QStringLiteral("/images/101.bis.res")), QStringLiteral("101"));
    EXPECT_EQ(ResourceNameOf(QStringLiteral("A:LOGO.RES")), QStringLiteral("LOGO"));
    // At most 64 characters of the name count.
    const QString longName = QString(70, QLatin1Char('N')) + QStringLiteral(".RES");
    EXPECT_EQ(ResourceNameOf(longName), QString(64, QLatin1Char('N')));
}

TEST(ImageKinds, DibSizeCountsHeaderPaletteAndPaddedRows)
{
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorCount(16);
    EXPECT_EQ(DibByteSize(indexed), 40 + 16 * 4 + 4 * 2);
    QImage mono(33, 3, QImage::Format_Mono);
    mono.setColorCount(2);
    EXPECT_EQ(DibByteSize(mono), 40 + 2 * 4 + 8 * 3);
    EXPECT_EQ(DibByteSize(QImage(5, 2, QImage::Format_RGB888)), 40 + 16 * 2);
    EXPECT_EQ(DibByteSize(QImage()), 0);
}
