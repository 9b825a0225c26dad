// Times the batch conversion of twelve 12-megapixel JPEGs to each format, on one
// thread and on two, against vips run once per file with its default concurrency.
// BENCH_FILES=N uses N pictures. Last line: "worst ratio to vips: R" (two threads).
#include "conversion_lot.h"
#include "imagefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Sky gradient, blocks of colour and grain: compresses like a photo.
QImage photo(int graine)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ciel(0, 0, 0, 3000);
    ciel.setColorAt(0, QColor(40, 60, 160));
    ciel.setColorAt(1, QColor(250, 180, 90));
    p.fillRect(image.rect(), ciel);
    QRandomGenerator hasard(graine);
    for (int i = 0; i < 3000; ++i)
        p.fillRect(hasard.bounded(4000), hasard.bounded(3000), 60, 40, QColor::fromRgb(hasard.generate() | 0xFF000000u));
    p.end();
    for (int y = 0; y < 3000; ++y) {
        auto *ligne = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < 4000; ++x) {
            const int d = int(hasard.bounded(17)) - 8;
            const QRgb c = ligne[x];
            ligne[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255), qBound(0, qBlue(c) + d, 255));
        }
    }
    return image;
}

double secondes(const std::function<void()> &travail)
{
    QElapsedTimer chrono;
    chrono.start();
    travail();
    return chrono.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int n = qBound(1, qEnvironmentVariableIntValue("BENCH_FILES") ? qEnvironmentVariableIntValue("BENCH_FILES") : 12, 12);
    QTemporaryDir dossier;
    const QDir d(dossier.path());
    d.mkdir("nous");
    d.mkdir("vips");
    QStringList sources;
    for (int i = 0; i < n; ++i) {
        sources << d.filePath(QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        photo(i).save(sources.last(), "JPEG", 90);
    }
    struct Format {
        sky::Format format;
        const char *extension;
        const char *options_vips;
    };
    const Format formats[] = {{sky::Format::Jpeg, "JPG", "[Q=100]"}, {sky::Format::Bmp, "BMP", ""},
                              {sky::Format::Gif, "GIF", ""},         {sky::Format::Pcx, "PCX", ""},
                              {sky::Format::Png, "PNG", ""},         {sky::Format::Tif, "TIF", ""}};
    double pire = 0;
    std::printf("%-4s %10s %10s %10s %8s %8s\n", "fmt", "1 fil s", "2 fils s", "vips s", "1/vips", "2/vips");
    for (const Format &f : formats) {
        QList<ConversionFichier> lot;
        for (const QString &s : sources)
            lot.append({s, d.filePath(QStringLiteral("nous/%1.%2").arg(QFileInfo(s).baseName().toUpper(), f.extension))});
        ReglagesConversion r;
        r.profondeur_lecture = ReadDepth(lAutoMatic, 24);
        r.format = f.format;
        r.profondeur_ecriture = WriteDepth(sAutoMatic, f.format, 24);
        r.options.quality = 100;  // the window's default, and that asked of vips
        int echecs = 0;
        const auto compte = [&](int, const IssueConversion &issue) { echecs += !issue.reussie(); };
        const double un = secondes([&] { convertit_lot(lot, r, 1, compte); });
        const double deux = secondes([&] { convertit_lot(lot, r, 2, compte); });
        bool vips_ok = true;
        const double vips = secondes([&] {
            for (const QString &s : sources) {
                const QString cible = d.filePath(QStringLiteral("vips/%1.%2%3")
                                                     .arg(QFileInfo(s).baseName(), QString(f.extension).toLower(),
                                                          QLatin1String(f.options_vips)));
                vips_ok = vips_ok && QProcess::execute("vips", {"copy", s, cible}) == 0;
            }
        });
        if (echecs)
            std::printf("%s: %d conversions of ours failed\n", f.extension, echecs);
        if (!vips_ok) {
            std::printf("%-4s %10.2f %10.2f %10s   (vips cannot write this format)\n", f.extension, un, deux, "-");
            continue;
        }
        std::printf("%-4s %10.2f %10.2f %10.2f %8.2f %8.2f\n", f.extension, un, deux, vips, un / vips, deux / vips);
        pire = qMax(pire, deux / vips);
        std::fflush(stdout);
    }
    std::printf("worst ratio to vips: %.2f\n", pire);
    return 0;
}
