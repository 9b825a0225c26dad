// What the benchmarks share: their pictures, the screen they run on, their clock
// and their median.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRandomGenerator>
#include <QSize>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>

namespace banc {

inline double mediane(QList<double> mesures)
{
    std::sort(mesures.begin(), mesures.end());
    return mesures[mesures.size() / 2];
}

inline double millisecondes(const std::function<void()> &travail)
{
    QElapsedTimer chrono;
    chrono.start();
    travail();
    return chrono.nsecsElapsed() / 1e6;
}

// A 12-megapixel picture that compresses like a photo: a sky gradient and blocks of
// colour drawn from `graine`, and with `grain` a noise on every pixel.
inline QImage photo(quint32 graine, bool grain = false)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ciel(0, 0, 0, 3000);
    ciel.setColorAt(0, QColor(40, 60, 160 + int(graine % 64)));
    ciel.setColorAt(1, QColor(250, 180, 90));
    p.fillRect(image.rect(), ciel);
    QRandomGenerator hasard(graine);
    const QSize bloc = grain ? QSize(60, 40) : QSize(40, 40);
    for (int i = 0, n = grain ? 3000 : 4000; i < n; ++i)
        p.fillRect(hasard.bounded(4000), hasard.bounded(3000), bloc.width(), bloc.height(),
                   QColor::fromRgb(hasard.generate() | 0xFF000000u));
    p.end();
    for (int y = 0; grain && y < 3000; ++y) {
        auto *ligne = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < 4000; ++x) {
            const int d = int(hasard.bounded(17)) - 8;
            const QRgb c = ligne[x];
            ligne[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255),
                            qBound(0, qBlue(c) + d, 255));
        }
    }
    return image;
}

// The windows run off screen, on a screen of `taille` when it is given (its
// description is written in `dossier`). To be called before the application is made.
inline void hors_ecran(const QTemporaryDir &dossier, QSize taille = {})
{
    if (taille.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return;
    }
    const QString description = dossier.filePath(QStringLiteral("ecran.json"));
    QFile f(description);
    if (f.open(QIODevice::WriteOnly))
        f.write(QStringLiteral(R"({"screens":[{"name":"bench","x":0,"y":0,"width":%1,"height":%2,)"
                               R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                    .arg(taille.width())
                    .arg(taille.height())
                    .toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + description.toLocal8Bit());
}

}  // namespace banc
