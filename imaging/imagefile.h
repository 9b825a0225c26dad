// Image file operations: the only caller of the imaging library. Turns its
// calls into operations on bitmap objects with a yes/no result, reports every
// library failure in one error box, and holds the program's own image routines
// (resource bitmaps, window capture, the two scrolling-message file formats).
#pragma once

#include "formats.h"
#include "messagefile.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// A picture and its palette (the colour table of an indexed image), owned together.
struct BitmapObject {
    QImage bitmap;
    bool empty() const { return bitmap.isNull(); }
    QList<QRgb> palette() const { return bitmap.colorTable(); }
};

// Progress function handed to every read, write and scan; null at start.
extern std::function<int(int)> ProgressCallback;
// True while a scanner call is in progress.
extern bool ScanBusy;

enum TLoadResolution { lColorVga, lMonoChrome, lColor16, lColor256, lColorTrue, lAutoMatic };
enum TSaveResolution { sColorVga, sMonoChrome, sColor16, sColor256, sColorTrue, sJpegGray, sAutoMatic };
enum TTiffCompression { sNONE, sCCITT, sLZW, sPACKBITS };

// The library takes file names of at most 255 characters; the ordinary reads and
// writes report a longer one in a box.
bool NameFitsLibrary(const QString &fileName);

// Display depth from a device's bits per pixel: 1..4 gives 4, 5..15 gives 8, 16 and more 24.
int DeviceColorBits(int devicePixelBits);
// The depth of the screen a widget is on (of the primary screen for null).
int DisplayColorBits(const QWidget *widget);
int ReadDepth(TLoadResolution resolution, int displayBits);
int WriteDepth(TSaveResolution resolution, sky::Format format, int displayBits);
int TiffCompressionCode(TTiffCompression compression);

bool GetImageFileInfo(const QString &fileName, QString &typeName, int &width, int &height,
                      int &bitsPerPixel, int &density, int &colors, QString &compression);

// Any of the library's formats; the named functions below are these for one format.
bool ReadImageFile(sky::Format format, const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
bool WriteImageFile(sky::Format format, const QString &fileName, int depth, const sky::WriteOptions &options,
                    BitmapObject &bitmap);

bool ReadBmpFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
bool ReadPcxFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
bool ReadPngFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
bool ReadGifFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
bool ReadTifFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
bool ReadJpegFile(const QString &fileName, int depth, bool dither, BitmapObject &bitmap);
// A JPEG decoded only as large as the picture fitted into `zone` needs
// (echelle_de_decodage); at full size when its header cannot be read.
bool ReadJpegFileReduced(const QString &fileName, int depth, bool dither, QSize zone, BitmapObject &bitmap);
// The reading and the writing of a worker thread: no progress of the windows and
// no box (the caller reports a failure on its own thread), the library's status
// returned. `zone` not empty: a JPEG is decoded only as large as fitting it into
// `zone` needs. A reading that gives no picture fails.
int ReadImageFileQuietly(sky::Format format, const QString &fileName, int depth, bool dither, QSize zone,
                         QImage &out, const sky::Progress &progress);
// ReadImageFileQuietly at true colour for a thumbnail drawn fitted into `zone`, from
// the desktop's thumbnail cache of `size` (cache_vignettes): its entry when it still
// serves and is larger than the zone, else the picture decoded no larger than the
// thumbnail needs, brought to that size and kept in the cache for the next time.
// With `keep`, the keeping is handed there instead, for the caller to run once the
// picture is given.
int ReadThumbnailQuietly(sky::Format format, const QString &fileName, QSize zone, int size, QImage &out,
                         const sky::Progress &progress, std::function<void()> *keep = nullptr);
int WriteImageFileQuietly(sky::Format format, const QString &fileName, int depth,
                          const sky::WriteOptions &options, const QImage &image, const sky::Progress &progress = {});

// ReadImageFile with no progress and no box, so that a worker thread may prepare a
// picture ahead. False for an unreadable file: the ordinary read then reports the
// failure; `failure`, when given, receives the library's text for it. With a
// `screen` size, a JPEG is decoded only as large as it is shown fitted to that
// screen needs (taille_a_l_ecran).
bool PrepareImageFile(sky::Format format, const QString &fileName, int depth, bool dither, QImage &out,
                      QSize screen = {}, QString *failure = nullptr);

bool WriteBmpFile(const QString &fileName, int depth, BitmapObject &bitmap);
bool WritePcxFile(const QString &fileName, int depth, BitmapObject &bitmap);
bool WriteGifFile(const QString &fileName, int depth, BitmapObject &bitmap);
bool WritePngFile(const QString &fileName, int depth, bool interlaced, BitmapObject &bitmap);
bool WriteJpegFile(const QString &fileName, int quality, int smoothing, int depth, BitmapObject &bitmap);
bool WriteTifFile(const QString &fileName, int compression, int depth, BitmapObject &bitmap);

// The rank of the format of files named with `extension` (dot included, any case)
// in the library's table of FormatCount() formats; -1 for none.
int FormatRankOfExtension(const QString &extension);
int FormatCount();

// `jpeg` turned over without decoding it (nothing of the picture is lost); false,
// `out` untouched, when that cannot be done (the library's transformJpeg).
bool TurnJpegLosslessly(const QByteArray &jpeg, bool flip, bool mirror, QByteArray &out);
// The quality (1..100) a JPEG was saved at; 0 when the data holds no luminance table.
int JpegDataQuality(const QByteArray &jpeg);

bool MirrorBitmap(BitmapObject &bitmap);
bool FlipBitmap(BitmapObject &bitmap);

bool AcquireScan(QWidget *parent, int depth, bool dither, bool useScannerWindow, BitmapObject &bitmap);
bool SelectScanSource(QWidget *parent);

// Bitmap resources of the program, by number ("101") or by name ("LOGO").
bool LoadResourceBitmap(const QString &moduleName, const QString &resourceName, QWidget *window,
                        BitmapObject &bitmap);
bool CaptureWindowBitmap(QWidget *source, BitmapObject &bitmap);

bool ReadTaggedMessageFile(const QString &fileName, MessageFont &font, int &speed, QString &message,
                           QColor &background);
bool ReadLineMessageFile(const QString &fileName, MessageFont &font, int &speed, QStringList &lines,
                         QColor &background);

void ReportLibraryError(int status);
// The library status of the last read made through the functions above (Ok
// after a read taken from a prefetch).
int LastReadStatus();
// "Fichier image incomplet : C:\\PHOTOS\\A.JPG": the status's text and the file it concerns.
QString FailureWithFile(int status, const QString &fileName);
