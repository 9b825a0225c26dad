// The command-line converter: depths by format and resolution, target names,
// options, conversions, information lines and exit statuses.
#include "convert.h"
#include "ecran.h"
#include "sky.h"
#include "skyio.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

using namespace sky;

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome run(const QStringList &arguments)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.status = runConvert(arguments, out, err);
    return r;
}

QImage photo()
{
    QImage image(40, 30, QImage::Format_RGB888);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x + y) * 3));
    return image;
}

}  // namespace

TEST(Convert, DepthFollowsResolutionAndFormat)
{
    using R = Resolution;
    using F = Format;
    struct Row {
        R resolution;
        int others, gif, jpeg;
    };
    const Row table[] = {{R::Vga, 0, 0, 24},    {R::Colour16, 4, 4, 24}, {R::Colour256, 8, 8, 24},
                         {R::True, 24, 8, 24},  {R::JpegGray, 8, 8, 1},  {R::Auto, 24, 8, 24}};
    for (const Row &row : table) {
        for (const F f : {F::Bmp, F::Png, F::Tif, F::Pcx})
            EXPECT_EQ(row.others, saveDepth(row.resolution, f));
        EXPECT_EQ(row.gif, saveDepth(row.resolution, F::Gif));
        EXPECT_EQ(row.jpeg, saveDepth(row.resolution, F::Jpeg));
    }
    // Automatic follows the display, GIF at most 8 bits.
    EXPECT_EQ(4, saveDepth(R::Auto, F::Bmp, 4));
    EXPECT_EQ(4, saveDepth(R::Auto, F::Gif, 4));
    EXPECT_EQ(24, saveDepth(R::Auto, F::Jpeg, 4));
}

TEST(Convert, NamesTargetsByUpperCaseBaseCutTo13)
{
    EXPECT_EQ(QStringLiteral("PHOTO1.JPG"), targetName(QStringLiteral("/a/b/photo1.bmp"), Format::Jpeg));
    EXPECT_EQ(QStringLiteral("VACANCES.TIF"), targetName(QStringLiteral("vacances.2024.png"), Format::Tif));
    EXPECT_EQ(QStringLiteral("UNNOMBIENTROP.PCX"),
              targetName(QStringLiteral("C:\\img\\unnombientroplong.gif"), Format::Pcx));
    EXPECT_EQ(QStringLiteral("ÉTÉ.GIF"), targetName(QStringLiteral("été.jpg"), Format::Gif));
}

TEST(Convert, RefusesBadCommandLines)
{
    const QList<QStringList> wrong = {
        {},
        {"--format", "bmp", "--dest", "."},                          // no file
        {"--format", "bmp", "a.jpg"},                                // no destination
        {"--dest", ".", "a.jpg"},                                    // no format
        {"--format", "jpeg", "--dest", ".", "a.jpg"},
        {"--format", "jpg", "--quality", "0", "--dest", ".", "a.jpg"},
        {"--format", "jpg", "--quality", "101", "--dest", ".", "a.jpg"},
        {"--format", "jpg", "--smooth", "x", "--dest", ".", "a.jpg"},
        {"--format", "png", "--resolution", "mono", "--dest", ".", "a.jpg"},
        {"--format", "tif", "--tiff", "zip", "--dest", ".", "a.jpg"},
        {"--format", "bmp", "--dest", ".", "--verbose", "a.jpg"},
        {"--format", "bmp", "-v", "--dest", ".", "a.jpg"},
        {"--format", "bmp", "--dest"},
        {"--interlace=1", "--format", "png", "--dest", ".", "a.jpg"},
    };
    for (const QStringList &arguments : wrong) {
        const Outcome r = run(arguments);
        EXPECT_EQ(2, r.status) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("--help"))) << r.err.toStdString();
    }
    for (const char *option : {"--help", "-h"}) {
        const Outcome help = run({option});
        EXPECT_EQ(0, help.status) << option;
        EXPECT_TRUE(help.out.contains(QStringLiteral("dossier de destination"))) << option;
        EXPECT_TRUE(help.out.contains(QStringLiteral("--resolution"))) << option;
    }
    const Outcome version = run({"--version"});
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(version.out, QStringLiteral("vistarama-convert " VISTA_VERSION "\n"));
}

TEST(Convert, ConvertsEachFileAndReportsFailures)
{
    DossierTemporaire dir;
    QDir().mkpath(dir.chemin("out"));
    ASSERT_EQ(Ok, writeBmp(dir.chemin("first.picture.bmp"), 24, photo(), {}));
    ASSERT_EQ(Ok, writePcx(dir.chemin("second.pcx"), 24, photo(), {}));
    // The reader goes by content: a JPEG named .bmp is read as JPEG.
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("third.bmp"), 90, 0, 24, photo(), {}));

    Outcome r = run({"--format", "pcx", "--resolution", "256", "--dest", dir.chemin("out"),
                 dir.chemin("first.picture.bmp"), dir.chemin("second.pcx"), dir.chemin("third.bmp")});
    EXPECT_EQ(0, r.status) << r.err.toStdString();
    for (const char *name : {"FIRST.PCX", "SECOND.PCX", "THIRD.PCX"}) {
        FileInfo info;
        ASSERT_EQ(Ok, fileInfo(dir.chemin("out/") + QLatin1String(name), info)) << name;
        EXPECT_EQ(QStringLiteral("PCX"), info.type);
        EXPECT_EQ(8, info.bitsPerPixel);
        EXPECT_EQ(40, info.width);
    }

    r = run({"--format=bmp", "--resolution=16", "--dest=" + dir.chemin("out"), dir.chemin("absent.png"),
             dir.chemin("second.pcx")});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(dir.chemin("absent.png") + QStringLiteral(": ") + errorText(FileNotFound) + QLatin1Char('\n'), r.err);
    FileInfo info;
    ASSERT_EQ(Ok, fileInfo(dir.chemin("out/SECOND.BMP"), info));
    EXPECT_EQ(4, info.bitsPerPixel);

    r = run({"--format", "jpg", "--resolution", "jpeggray", "--quality", "40", "--dest",
             dir.chemin("out"), dir.chemin("first.picture.bmp")});
    EXPECT_EQ(0, r.status);
    ASSERT_EQ(Ok, fileInfo(dir.chemin("out/FIRST.JPG"), info));
    EXPECT_EQ(QStringLiteral("JPEG"), info.type);
    EXPECT_EQ(8, info.bitsPerPixel);  // grey levels

    r = run({"--format", "png", "--dest", dir.chemin("nowhere"), dir.chemin("second.pcx")});
    EXPECT_EQ(1, r.status);
    EXPECT_TRUE(r.err.contains(QStringLiteral("introuvable")));
}

TEST(Convert, PrintsOneInformationLinePerFile)
{
    DossierTemporaire dir;
    QImage picture = photo();
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    ASSERT_EQ(Ok, writeBmp(dir.chemin("p.bmp"), 8, picture, {}));
    FileInfo info;
    ASSERT_EQ(Ok, fileInfo(dir.chemin("p.bmp"), info));
    QImage sans_densite = photo();
    setDensity(sans_densite, 0, 0);
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("q.jpg"), 90, 0, 24, sans_densite, {}));
    const Outcome r = run({"--info", dir.chemin("p.bmp"), dir.chemin("none.gif"), dir.chemin("q.jpg")});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ(dir.chemin("p.bmp") +
                  QStringLiteral(": BMP 40x30, 8 bits, densité 96 ppp, %1 couleurs, compression aucune\n").arg(info.colors) +
                  dir.chemin("q.jpg") +
                  QStringLiteral(": JPEG 40x30, 24 bits, densité aucune, 16777216 couleurs, compression JPEG\n"),
              r.out)
        << r.out.toStdString();
    EXPECT_LE(info.colors, 256);
    EXPECT_TRUE(r.err.startsWith(dir.chemin("none.gif") + QStringLiteral(": ")));
}

TEST(Convert, NeverWritesOverAFileOfTheSameRun)
{
    DossierTemporaire dir;
    QDir().mkpath(dir.chemin("out"));
    const QString first = dir.chemin("anniversaire_maman_2023.jpg");
    const QString second = dir.chemin("anniversaire_maman_2024.png");
    ASSERT_EQ(Ok, writeJpeg(first, 90, 0, 24, photo(), {}));
    ASSERT_EQ(Ok, writePng(second, 24, false, photo().scaled(20, 10), {}));

    const Outcome r = run({"--format", "jpg", "--dest", dir.chemin("out"), first, second});
    EXPECT_EQ(1, r.status);
    const QString target = dir.chemin("out/ANNIVERSAIRE_.JPG");
    EXPECT_EQ(first + " -> " + target + "\n", r.out);
    EXPECT_EQ(second + " n'est pas converti : il porterait le même nom que " + first + ", déjà converti en " +
                  target + ".\n",
              r.err);
    FileInfo info;
    ASSERT_EQ(Ok, fileInfo(target, info));
    EXPECT_EQ(40, info.width);

    // A later run replaces it, as any existing file.
    EXPECT_EQ(0, run({"--format", "jpg", "--dest", dir.chemin("out"), second}).status);
    ASSERT_EQ(Ok, fileInfo(target, info));
    EXPECT_EQ(20, info.width);
}
