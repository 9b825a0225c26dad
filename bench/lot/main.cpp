// Times the batch conversion of twelve 12-megapixel JPEGs to each format, on one
// thread and on two, against vips run once per file with its default concurrency.
// BENCH_FILES=N uses N pictures. Last line: "worst ratio to vips: R" (two threads).
#include "banc.h"
#include "conversion_lot.h"
#include "imagefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

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
        banc::photo(quint32(i), true).save(sources.last(), "JPEG", 90);
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
        const double un = 1e-3 * banc::millisecondes([&] { convertit_lot(lot, r, 1, compte); });
        const double deux = 1e-3 * banc::millisecondes([&] { convertit_lot(lot, r, 2, compte); });
        bool vips_ok = true;
        const double vips = 1e-3 * banc::millisecondes([&] {
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
