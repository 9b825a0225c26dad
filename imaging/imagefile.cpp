#include "imagefile.h"

#include "cache_vignettes.h"
#include "codecs.h"
#include "jpegflip.h"
#include "reduction.h"
#include "reglages_scanner.h"
#include "sky.h"
#include "systeme.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

std::function<int(int)> ProgressCallback;
bool ScanBusy = false;

namespace {

// The library takes file names of at most this many characters.
constexpr int kLongestFileName = 255;

// The library's error texts come through a buffer of 256 bytes.
constexpr int kLongestErrorText = 255;

// A tagged message holds one line of text: more than this is not one.
constexpr qint64 kTaggedMessageFileCap = 4 * 1024 * 1024;

bool nameFits(const QString &fileName)
{
    if (NameFitsLibrary(fileName))
        return true;
    systeme::boite(systeme::TypeBoite::Erreur,
                   QStringLiteral("Le nom de fichier dépasse %1 caractères :\n%2")
                       .arg(kLongestFileName)
                       .arg(fileName));
    return false;
}

bool succeeded(int status)
{
    if (sky::succeeded(status))
        return true;
    ReportLibraryError(status);
    return false;
}

int lastReadStatus = sky::Ok;

// Reads install whatever picture the library gave back, even on failure.
bool readInto(const QString &fileName, BitmapObject &bitmap, const std::function<int(QImage &)> &read)
{
    lastReadStatus = sky::BadArgument;
    if (!nameFits(fileName))
        return false;
    QImage image;
    const int status = read(image);
    lastReadStatus = status;
    bitmap.bitmap = image;
    return succeeded(status);
}

// Mirror and flip work at the depth of the display that has the keyboard focus.
bool transformWith(int (*transform)(int, QImage &), BitmapObject &bitmap)
{
    return succeeded(transform(DisplayColorBits(QApplication::focusWidget()), bitmap.bitmap));
}

// Marks a scanner call in progress until the scope ends, however it ends.
class ScanInProgress {
public:
    ScanInProgress() { ScanBusy = true; }
    ~ScanInProgress() { ScanBusy = false; }
    ScanInProgress(const ScanInProgress &) = delete;
    ScanInProgress &operator=(const ScanInProgress &) = delete;
};

int screenDepth(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

bool isProgramModule(const QString &moduleName)
{
    if (moduleName.isEmpty())
        return true;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QString name = QFileInfo(moduleName).fileName();
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name.compare(program, Qt::CaseInsensitive) == 0;
}

// Resources by number are "#N.dib", by name the upper-case name; a number is
// a name made of decimal digits only, within the 16 bits of a resource number.
QString resourcePath(const QString &resourceName)
{
    const bool digits = !resourceName.isEmpty() &&
                        std::all_of(resourceName.begin(), resourceName.end(),
                                    [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool number = false;
    const ushort id = resourceName.toUShort(&number, 10);
    if (digits && number)
        return QStringLiteral(":/bitmaps/#%1.dib").arg(id);
    return QStringLiteral(":/bitmaps/%1.dib").arg(resourceName.toUpper());
}

std::optional<QByteArray> readFile(const QString &fileName, qint64 cap)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(cap);
}

}  // namespace

bool NameFitsLibrary(const QString &fileName) { return fileName.size() <= kLongestFileName; }

int DeviceColorBits(int devicePixelBits)
{
    if (devicePixelBits <= 4)
        return 4;
    return devicePixelBits <= 15 ? 8 : 24;
}

int DisplayColorBits(const QWidget *widget) { return DeviceColorBits(screenDepth(widget)); }

int ReadDepth(TLoadResolution resolution, int displayBits)
{
    switch (resolution) {
    case lColorVga: return 0;
    case lMonoChrome: return 1;
    case lColor16: return 4;
    case lColor256: return 8;
    case lColorTrue: return 24;
    case lAutoMatic: return displayBits;
    }
    return displayBits;
}

int WriteDepth(TSaveResolution resolution, sky::Format format, int displayBits)
{
    int bits = displayBits;
    switch (resolution) {
    case sColorVga: bits = 0; break;
    case sMonoChrome: bits = 1; break;
    case sColor16: bits = 4; break;
    case sColor256: bits = 8; break;
    case sColorTrue: bits = 24; break;
    case sJpegGray: bits = 8; break;
    case sAutoMatic: break;
    }
    return sky::writeDepth(format, bits, resolution == sMonoChrome || resolution == sJpegGray);
}

int TiffCompressionCode(TTiffCompression compression)
{
    // The choices come in the order of the library's list.
    return sky::tiffCompressions()[size_t(compression)].code;
}

bool GetImageFileInfo(const QString &fileName, QString &typeName, int &width, int &height,
                      int &bitsPerPixel, int &density, int &colors, QString &compression)
{
    if (!nameFits(fileName))
        return false;
    sky::FileInfo info;
    const int status = sky::fileInfo(fileName, info);
    typeName = info.type;
    width = info.width;
    height = info.height;
    bitsPerPixel = info.bitsPerPixel;
    density = info.density;
    colors = info.colors;
    compression = info.compression;
    return succeeded(status);
}

bool ReadImageFile(sky::Format format, const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return readInto(fileName, bitmap, [&](QImage &image) {
        return sky::formatRow(format).read(fileName, depth, dither, image, ProgressCallback);
    });
}

bool WriteImageFile(sky::Format format, const QString &fileName, int depth, const sky::WriteOptions &options,
                    BitmapObject &bitmap)
{
    return nameFits(fileName) &&
           succeeded(sky::formatRow(format).write(fileName, depth, bitmap.bitmap, options, ProgressCallback));
}

bool ReadBmpFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return ReadImageFile(sky::Format::Bmp, fileName, depth, dither, bitmap);
}

bool ReadPcxFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return ReadImageFile(sky::Format::Pcx, fileName, depth, dither, bitmap);
}

bool ReadPngFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return ReadImageFile(sky::Format::Png, fileName, depth, dither, bitmap);
}

bool ReadGifFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return ReadImageFile(sky::Format::Gif, fileName, depth, dither, bitmap);
}

bool ReadTifFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return ReadImageFile(sky::Format::Tif, fileName, depth, dither, bitmap);
}

bool ReadJpegFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap)
{
    return ReadImageFile(sky::Format::Jpeg, fileName, depth, dither, bitmap);
}

namespace {

// The size of the picture as it is shown (upright); empty when its header cannot be read.
QSize uprightSize(const QString &fileName)
{
    sky::FileInfo info;
    if (fileName.size() > kLongestFileName || !sky::succeeded(sky::fileInfo(fileName, info)))
        return {};
    return info.orientation >= 5 ? QSize(info.height, info.width) : QSize(info.width, info.height);
}

// The decoding scale of a picture of `upright` size fitted into `zone`, as it is
// shown; 1 when its header could not be read.
int reducedScale(QSize upright, QSize zone) { return upright.isEmpty() ? 1 : echelle_de_decodage(upright, zone); }

// ReadImageFileQuietly, the picture's upright size already read.
int readQuietly(sky::Format format, const QString &fileName, int depth, bool dither, QSize zone, QSize upright,
                QImage &out, const sky::Progress &progress)
{
    const int status = format == sky::Format::Jpeg && !zone.isEmpty()
                           ? sky::readJpeg(fileName, depth, reducedScale(upright, zone), dither, out, progress)
                           : sky::formatRow(format).read(fileName, depth, dither, out, progress);
    return sky::succeeded(status) && out.isNull() ? int(sky::Failed) : status;
}

}  // namespace

bool ReadJpegFileReduced(const QString &fileName, int depth, bool dither, QSize zone, BitmapObject &bitmap)
{
    const int scale = reducedScale(uprightSize(fileName), zone);
    return readInto(fileName, bitmap, [&](QImage &image) {
        return sky::readJpeg(fileName, depth, scale, dither, image, ProgressCallback);
    });
}

int ReadImageFileQuietly(sky::Format format, const QString &fileName, int depth, bool dither, QSize zone,
                         QImage &out, const sky::Progress &progress)
{
    const bool reduced = format == sky::Format::Jpeg && !zone.isEmpty();
    return readQuietly(format, fileName, depth, dither, zone, reduced ? uprightSize(fileName) : QSize(), out,
                       progress);
}

int ReadThumbnailQuietly(sky::Format format, const QString &fileName, QSize zone, int size, QImage &out,
                         const sky::Progress &progress, std::function<void()> *keep)
{
    // Taken before the reading: a change made while it runs leaves an entry that does not serve.
    const QDateTime modification = QFileInfo(fileName).lastModified();
    const QString cache = cache_vignettes::racine();
    if (QImage kept = cache_vignettes::trouve(cache, fileName, size, modification);
        !kept.isNull() && reduit(kept.size(), zone).etire) {
        out = std::move(kept);
        return sky::Ok;
    }
    // Read once: it gives the decoding scale and goes into the cache entry.
    const QSize upright = uprightSize(fileName);
    // Decoded as small as a thumbnail of `size` allows (fitting takes one pixel off).
    const int status =
        readQuietly(format, fileName, 24, true, QSize(size + 1, size + 1), upright, out, progress);
    if (!sky::succeeded(status) || std::max(out.width(), out.height()) < size)
        return status;
    out = cache_vignettes::reduite(out, size);
    // A picture not read whole is not kept for the next visit.
    if (status == sky::Ok) {
        std::function<void()> keeping = [cache, fileName, size, modification, upright, thumbnail = out] {
            cache_vignettes::range(cache, fileName, size, modification, thumbnail, upright);
        };
        if (keep)
            *keep = std::move(keeping);
        else
            keeping();
    }
    return status;
}

int WriteImageFileQuietly(sky::Format format, const QString &fileName, int depth,
                          const sky::WriteOptions &options, const QImage &image, const sky::Progress &progress)
{
    return sky::formatRow(format).write(fileName, depth, image, options, progress);
}

bool PrepareImageFile(sky::Format format, const QString &fileName, int depth, bool dither, QImage &out,
                      QSize screen, QString *failure)
{
    // No box from a worker thread: a name too long is simply not prepared.
    if (fileName.size() > kLongestFileName) {
        if (failure)
            *failure = QStringLiteral("Le nom de fichier dépasse %1 caractères").arg(kLongestFileName);
        return false;
    }
    int status = sky::Ok;
    sky::FileInfo info;
    if (format == sky::Format::Jpeg && !screen.isEmpty() && sky::succeeded(sky::fileInfo(fileName, info))) {
        const QSize image(info.width, info.height);
        status = sky::readJpeg(fileName, depth, echelle_couvrant(image, taille_a_l_ecran(image, screen)), dither,
                               out, {});
    } else {
        status = sky::formatRow(format).read(fileName, depth, dither, out, {});
    }
    if (sky::succeeded(status) && !out.isNull())
        return true;
    if (failure)
        *failure = sky::failureText(sky::succeeded(status) ? sky::EmptyPicture : status).left(kLongestErrorText);
    return false;
}

bool WriteBmpFile(const QString &fileName, int depth, BitmapObject &bitmap)
{
    return WriteImageFile(sky::Format::Bmp, fileName, depth, {}, bitmap);
}

bool WritePcxFile(const QString &fileName, int depth, BitmapObject &bitmap)
{
    return WriteImageFile(sky::Format::Pcx, fileName, depth, {}, bitmap);
}

bool WriteGifFile(const QString &fileName, int depth, BitmapObject &bitmap)
{
    return WriteImageFile(sky::Format::Gif, fileName, depth, {}, bitmap);
}

bool WritePngFile(const QString &fileName, int depth, bool interlaced, BitmapObject &bitmap)
{
    sky::WriteOptions options;
    options.interlaced = interlaced;
    return WriteImageFile(sky::Format::Png, fileName, depth, options, bitmap);
}

bool WriteJpegFile(const QString &fileName, int quality, int smoothing, int depth, BitmapObject &bitmap)
{
    sky::WriteOptions options;
    options.quality = quality;
    options.smoothing = smoothing;
    return WriteImageFile(sky::Format::Jpeg, fileName, depth, options, bitmap);
}

bool WriteTifFile(const QString &fileName, int compression, int depth, BitmapObject &bitmap)
{
    sky::WriteOptions options;
    options.tiffCompression = compression;
    return WriteImageFile(sky::Format::Tif, fileName, depth, options, bitmap);
}

int FormatRankOfExtension(const QString &extension)
{
    const sky::FormatRow *format = sky::formatOfExtension(extension);
    return format ? int(format - sky::formats().data()) : -1;
}

int FormatCount() { return int(sky::formats().size()); }

bool TurnJpegLosslessly(const QByteArray &jpeg, bool flip, bool mirror, QByteArray &out)
{
    return sky::transformJpeg(jpeg, flip, mirror, out);
}

int JpegDataQuality(const QByteArray &jpeg) { return sky::jpegQuality(jpeg); }

bool MirrorBitmap(BitmapObject &bitmap) { return transformWith(sky::mirror, bitmap); }

bool FlipBitmap(BitmapObject &bitmap) { return transformWith(sky::flip, bitmap); }

bool AcquireScan(QWidget *parent, int depth, bool dither, bool useScannerWindow, BitmapObject &bitmap)
{
    if (ScanBusy)
        return false;
    const ScanInProgress busy;
    std::function<bool(sky::ScanSettings &)> scannerWindow;
    if (useScannerWindow)
        scannerWindow = [parent](sky::ScanSettings &settings) {
            return demande_reglages_scanner(parent, settings);
        };
    QImage image;
    const int status = sky::acquireScan(depth, dither, scannerWindow, image, ProgressCallback);
    bitmap.bitmap = image;
    return sky::succeeded(status);
}

bool SelectScanSource(QWidget *parent)
{
    if (ScanBusy)
        return false;
    const ScanInProgress busy;
    const int status = sky::selectScanSource([parent](const QStringList &sources) {
        return systeme::choisir_source_scanner(sources, parent);
    });
    if (status == sky::ScanCancelled)
        return false;  // the user closed the choice: nothing to report
    return succeeded(status);
}

// The window argument served to realise the palette on a palette display;
// pictures carry their own colour table here.
bool LoadResourceBitmap(const QString &moduleName, const QString &resourceName, QWidget *,
                        BitmapObject &bitmap)
{
    if (!isProgramModule(moduleName))
        return false;
    QFile resource(resourcePath(resourceName));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray dib = resource.readAll();
    QImage image;
    if (sky::decodeDib(reinterpret_cast<const uchar *>(dib.constData()), dib.size(), image) <= 0)
        return false;
    if (image.colorTable().isEmpty())
        return false;  // only palette bitmaps (at most 256 colours) are resources
    bitmap.bitmap = image;
    return true;
}

bool CaptureWindowBitmap(QWidget *source, BitmapObject &bitmap)
{
    if (!source)
        return false;
    QImage image = source->grab().toImage().convertToFormat(QImage::Format_RGB888);
    if (screenDepth(source) <= 8) {
        QImage indexed;
        if (sky::toDepth(image, 8, false, indexed) > 0)
            image = indexed;
    }
    bitmap.bitmap = image;
    return !image.isNull();
}

bool ReadTaggedMessageFile(const QString &fileName, MessageFont &font, int &speed, QString &message,
                           QColor &background)
{
    const std::optional<QByteArray> contents = readFile(fileName, kTaggedMessageFileCap);
    if (!contents)
        return false;
    parseTaggedMessage(*contents, font, speed, message, background);
    return true;
}

bool ReadLineMessageFile(const QString &fileName, MessageFont &font, int &speed, QStringList &lines,
                         QColor &background)
{
    lines.clear();
    const std::optional<QByteArray> contents = readFile(fileName, kLineMessageFileCap);
    if (!contents)
        return false;
    parseLineMessage(*contents, font, speed, lines, background);
    return true;
}

int LastReadStatus() { return lastReadStatus; }

QString FailureWithFile(int status, const QString &fileName)
{
    return QStringLiteral("%1 : %2").arg(sky::errorText(status), QDir::toNativeSeparators(fileName));
}

void ReportLibraryError(int status)
{
    systeme::boite(systeme::TypeBoite::Erreur, sky::failureText(status).left(kLongestErrorText),
                   systeme::OK);
}
