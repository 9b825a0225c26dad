#include "TMultiP.h"

#include "cache_vignettes.h"
#include "couleurs.h"
#include "service_lecture.h"
#include "systeme.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaMethod>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace {

const QString kFileNotFound = QStringLiteral("file not found");
const QString kNotLibraryImage = QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image");

void InformationBox(const QString &text)
{
    systeme::boite(systeme::TypeBoite::Information, text);
}

bool IsFile(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() && !file.isDir();
}

// Length of a file opened for reading; -1 when it cannot be opened.
qint64 FileLength(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.size() : -1;
}

// While a picture is read: once the reading has taken half a second, the busy
// cursor shows until it ends, and the windows are repainted at each step of its
// progress (the program's progress routine does it when there is one).
class LongReadWatch {
public:
    LongReadWatch() : saved_(ProgressCallback)
    {
        clock_.start();
        ProgressCallback = [this](int percent) {
            if (!busy_ && clock_.elapsed() >= kBusyAfterMs) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                busy_ = true;
            }
            if (saved_)
                return saved_(percent);
            if (busy_)
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return 1;
        };
    }
    ~LongReadWatch()
    {
        ProgressCallback = saved_;
        if (busy_)
            QApplication::restoreOverrideCursor();
    }
    LongReadWatch(const LongReadWatch &) = delete;
    LongReadWatch &operator=(const LongReadWatch &) = delete;

private:
    static constexpr qint64 kBusyAfterMs = 500;
    std::function<int(int)> saved_;
    QElapsedTimer clock_;
    bool busy_ = false;
};

enum class ClipboardAction { None, Copy, Cut, Paste };

// Ctrl+C, Ctrl+Insert copy; Ctrl+X, Shift+Delete cut; Ctrl+V, Shift+Insert paste.
ClipboardAction ClipboardKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modifiers == Qt::ControlModifier) {
        switch (event.key()) {
        case Qt::Key_C:
        case Qt::Key_Insert: return ClipboardAction::Copy;
        case Qt::Key_X: return ClipboardAction::Cut;
        case Qt::Key_V: return ClipboardAction::Paste;
        default: break;
        }
    }
    if (modifiers == Qt::ShiftModifier) {
        if (event.key() == Qt::Key_Delete)
            return ClipboardAction::Cut;
        if (event.key() == Qt::Key_Insert)
            return ClipboardAction::Paste;
    }
    return ClipboardAction::None;
}

}  // namespace

TPMultiImage::TPMultiImage(QWidget *parent)
    : QFrame(parent), caption_(new QLabel(this)), color_(vers_qcolor(clBtnFace))
{
    resize(105, 105);
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(true);
    // Every pixel of the client area is painted: the picture, Color around it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    caption_->setWordWrap(true);
    caption_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    caption_->setAutoFillBackground(false);
    // Clicks on the caption are clicks on the picture.
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->setGeometry(0, 0, 0, caption_->fontMetrics().height());
}

// ---- Properties ------------------------------------------------------------

void TPMultiImage::setAutoSize(bool on)
{
    autoSize_ = on;
    PictureChanged();
}

void TPMultiImage::setCenter(bool on)
{
    fit_.center = on;
    update();
}

void TPMultiImage::setBorderStyle(TBorderStyle style)
{
    borderStyle_ = style;
    setFrameStyle(style == bsSingle ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(1);
    update();
}

void TPMultiImage::setColor(const QColor &color)
{
    color_ = color;
    update();
}

void TPMultiImage::setFontColor(const QColor &color) { fontColor_ = color; }

void TPMultiImage::setPicture(const TPicture &picture)
{
    stopMessage(true);
    assignPicture(picture);
}

void TPMultiImage::setImageName(const QString &path) { result_ = load(path); }

DemandeLecture TPMultiImage::readAheadRequest(const QString &path) const
{
    const int depth = ReadDepth(imageReadRes_, displayBits());
    const int thumbnail = thumbnailCache_ && depth == 24 && !readReduction_.isEmpty()
                              ? cache_vignettes::taille_pour(readReduction_ * devicePixelRatioF())
                              : 0;
    return {path, depth, imageDither_, readReduction_, true, nullptr, thumbnail};
}

void TPMultiImage::PrefetchImageName(const QString &path)
{
    if (readAhead_ && !readReduction_.isEmpty() && IsFile(path))
        readAhead_->demande(readAheadRequest(path));
}

void TPMultiImage::setImageLibPalette(bool on)
{
    imageLibPalette_ = on;
    update();
}

void TPMultiImage::setImageReadRes(TLoadResolution resolution)
{
    imageReadRes_ = resolution;
    update();
}

void TPMultiImage::setJPegSaveQuality(int quality)
{
    jpegSaveQuality_ = quality <= 0 || quality > 100 ? 25 : quality;
}

void TPMultiImage::setJPegSaveSmooth(int smoothing)
{
    jpegSaveSmooth_ = smoothing < 0 || smoothing > 100 ? 5 : smoothing;
}

void TPMultiImage::setStretch(bool on)
{
    fit_.stretch = on;
    if (on)
        fit_.stretchRatio = false;
    update();
}

void TPMultiImage::setStretchRatio(bool on)
{
    fit_.stretchRatio = on;
    if (on)
        fit_.stretch = false;
    update();
}

void TPMultiImage::setTabStop(bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); }

void TPMultiImage::setText(const QString &text)
{
    text_ = text;
    if (!text.isEmpty())
        caption_->setText(text);
    update();
}

void TPMultiImage::setTextShadow(bool on)
{
    textShadow_ = on;
    update();
}

void TPMultiImage::setTextLeft(int left)
{
    textLeft_ = left;
    update();
}

void TPMultiImage::setTextTop(int top)
{
    textTop_ = top;
    update();
}

void TPMultiImage::setTextRotate(int angle)
{
    textRotate_ = angle;
    update();
}

void TPMultiImage::LayoutCaption()
{
    QPalette palette = caption_->palette();
    palette.setColor(QPalette::Window, CaptionColor);
    palette.setColor(QPalette::WindowText, fontColor_);
    caption_->setPalette(palette);
    caption_->setFont(font());
    caption_->setAutoFillBackground(!textTransparent_);
    caption_->setText(text_);
    const QRect client = contentsRect();
    // An empty caption keeps the height of one line, as a label sized to its text does.
    const int height = text_.isEmpty() ? caption_->fontMetrics().height()
                                       : caption_->heightForWidth(client.width());
    const int top = textop_ ? client.top() : client.bottom() + 1 - height;
    caption_->setGeometry(client.left(), top, client.width(), height);
}

// ---- Loading ---------------------------------------------------------------
//
// By the extension, upper case, cut to four characters: a missing file (other
// than a resource, which is not looked for on disk) empties the picture; icons
// and metafiles are read by Qt and libwmf; ".SCM" and ".CMS" start a scrolling
// message; the other picture files are read by the file operations, which show
// the library's error, followed here by "Reading ... file failed". Any other
// extension leaves the picture as it was. An error raised on the way empties the
// picture without a box. Whatever did not give the file's whole picture is told
// by ReadFailure(); what a failed reading decoded is shown, marked incomplete.

QString TPMultiImage::load(const QString &path)
{
    readFailure_.clear();
    const ImageKind kind = KindOfPath(path);
    if (kind != ImageKind::Resource && !IsFile(path)) {
        ClearDisplay();
        readFailure_ = FailureWithFile(sky::FileNotFound, path);
        return kFileNotFound;
    }
    try {
        switch (kind) {
        case ImageKind::Icon:
        case ImageKind::Metafile: {
            ClearDisplay();
            const TPicture picture =
                kind == ImageKind::Icon ? LoadIconPicture(path) : LoadMetafilePicture(path);
            if (picture.isEmpty()) {
                readFailure_ = FailureWithFile(sky::BadFormat, path);
                return kind == ImageKind::Icon ? QStringLiteral("Reading ico file failed")
                                               : QStringLiteral("Reading wmf file failed");
            }
            assignPicture(picture);
            ReadImageInfo(path);
            return kNotLibraryImage;
        }
        case ImageKind::TaggedMessage:
        case ImageKind::LineMessage:
            ClearDisplay();
            if (kind == ImageKind::TaggedMessage)
                LoadScrollingLine(path);
            else
                LoadScrollingLines(path);
            ReadImageInfo(path);
            break;
        case ImageKind::Other:
            readFailure_ = QStringLiteral("Type de fichier image non reconnu : %1").arg(QDir::toNativeSeparators(path));
            break;
        case ImageKind::Picture:
        case ImageKind::Resource:
            readBitmapFile(kind, path);
            break;
        }
    } catch (const std::exception &) {
        assignPicture({});
        readFailure_ = FailureWithFile(sky::OutOfMemory, path);
    }
    return path.toUpper();
}

void TPMultiImage::readBitmapFile(ImageKind kind, const QString &path)
{
    ClearDisplay();
    BitmapObject bitmap;
    bool read = false;
    QString name = QStringLiteral("resource");
    if (kind == ImageKind::Resource) {
        read = LoadResourceBitmap(QString(), ResourceNameOf(path), this, bitmap);
    } else {
        const sky::FormatRow &format = *PictureFormatOfPath(path);
        const int depth = ReadDepth(imageReadRes_, displayBits());
        const DemandeLecture request = readAheadRequest(path);
        if (readAhead_ && !readReduction_.isEmpty())
            bitmap.bitmap = readAhead_->prend(request, true);
        // A thumbnail that cannot be had is read the ordinary way, which reports the failure.
        if (bitmap.empty() && request.vignette &&
            !sky::succeeded(ReadThumbnailQuietly(format.format, path, readReduction_, request.vignette,
                                                 bitmap.bitmap, ProgressCallback)))
            bitmap.bitmap = QImage();
        if (!bitmap.empty()) {
            read = true;
            // What the library's last progress call would have done: the windows stay alive.
            if (ProgressCallback)
                ProgressCallback(100);
        } else {
            LongReadWatch watch;
            read = format.format == sky::Format::Jpeg && !readReduction_.isEmpty()
                       ? ReadJpegFileReduced(path, depth, imageDither_, readReduction_, bitmap)
                       : ReadImageFile(format.format, path, depth, imageDither_, bitmap);
        }
        name = QLatin1String(format.option);
    }
    if (!read) {
        readFailure_ = FailureWithFile(LastReadStatus(), path);
        InformationBox(QStringLiteral("Reading %1 file failed").arg(name));
    }
    assignPicture(read ? TPicture::fromBitmap(bitmap.bitmap) : TPicture::incompleteBitmap(bitmap.bitmap, readFailure_));
    ReadImageInfo(path);
}

void TPMultiImage::assignPicture(const TPicture &picture)
{
    picture_ = picture;
    PictureChanged();
}

void TPMultiImage::PictureChanged()
{
    cache_.clear();
    if (autoSize_ && picture_.width() > 0 && picture_.height() > 0)
        resize(picture_.size());
    update();
}

// ---- Information -----------------------------------------------------------

void TPMultiImage::setInfo(const QString &type, int width, int height, int bits, int density,
                           int colors, const QString &compression, qint64 fileSize)
{
    InfoType = type;
    InfoWidth = width;
    InfoHeight = height;
    InfoBitsPerPixel = bits;
    InfoDensity = density;
    InfoColors = colors;
    InfoCompression = compression;
    InfoFileSize = fileSize;
}

bool TPMultiImage::ReadImageInfo(const QString &fileName)
{
    switch (KindOfPath(fileName)) {
    case ImageKind::Resource:
        setInfo(QStringLiteral("RES"), picture_.width(), picture_.height(), 0, 0, 0,
                QStringLiteral("BMP"), DibByteSize(picture_.image()));
        return true;
    case ImageKind::Metafile:
    case ImageKind::Icon:
    case ImageKind::TaggedMessage:
    case ImageKind::LineMessage: {
        if (!IsFile(fileName)) {
            setInfo(QStringLiteral("ERR"), -1, -1, -1, -1, -1, QStringLiteral("ERR"), -1);
            return false;
        }
        const QString type = ExtensionKey(fileName).mid(1);
        setInfo(type, picture_.width(), picture_.height(), 0, 0, 0, type, FileLength(fileName));
        return true;
    }
    default: {
        QString type, compression;
        int width = 0, height = 0, bits = 0, density = 0, colors = 0;
        const bool read =
            GetImageFileInfo(fileName, type, width, height, bits, density, colors, compression);
        setInfo(type, width, height, bits, density, colors, compression, FileLength(fileName));
        return read;
    }
    }
}

// ---- Saving ----------------------------------------------------------------

bool TPMultiImage::SaveAsBmp(const QString &fileName) { return save(sky::Format::Bmp, fileName); }
bool TPMultiImage::SaveAsPng(const QString &fileName) { return save(sky::Format::Png, fileName); }
bool TPMultiImage::SaveAsJpeg(const QString &fileName) { return save(sky::Format::Jpeg, fileName); }
bool TPMultiImage::SaveAsGif(const QString &fileName) { return save(sky::Format::Gif, fileName); }
bool TPMultiImage::SaveAsTif(const QString &fileName) { return save(sky::Format::Tif, fileName); }
bool TPMultiImage::SaveAsPcx(const QString &fileName) { return save(sky::Format::Pcx, fileName); }

QImage TPMultiImage::pictureBitmap() const
{
    if (picture_.kind() == TPicture::Kind::Bitmap || picture_.isEmpty())
        return picture_.image();
    // What is written is what the control shows: the icon or metafile over Color.
    QImage flat(picture_.size(), QImage::Format_RGB32);
    flat.fill(color_);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture_.image());
    return flat;
}

bool TPMultiImage::PictureWritable()
{
    if (picture_.readFailure().isEmpty())
        return true;
    systeme::boite(systeme::TypeBoite::Erreur,
                   picture_.readFailure() +
                       QStringLiteral("\nCette image n'a pas pu être lue en entier : elle n'est pas enregistrée."));
    return false;
}

bool TPMultiImage::save(sky::Format format, const QString &fileName)
{
    if (!PictureWritable())
        return false;
    if (!fileName.isEmpty())
        defSaveFilename_ = fileName;
    try {
        BitmapObject bitmap{pictureBitmap()};
        const sky::WriteOptions options{jpegSaveQuality_, jpegSaveSmooth_, pngInterlaced_,
                                        TiffCompressionCode(tifSaveCompress_)};
        const bool written = WriteImageFile(format, defSaveFilename_,
                                            WriteDepth(imageWriteRes_, format, displayBits()), options, bitmap);
        if (!written)
            InformationBox(QStringLiteral("Writing %1 file failed")
                               .arg(QLatin1String(sky::formatRow(format).option)));
        return written;
    } catch (const std::exception &) {
        return false;
    }
}

// ---- Clipboard, flip and mirror, printing, capture, scanner ----------------

void TPMultiImage::CopyToClipboard()
{
    if (!picture_.isEmpty())
        QGuiApplication::clipboard()->setImage(picture_.image());
}

void TPMultiImage::CutToClipboard()
{
    CopyToClipboard();
    assignPicture({});
}

void TPMultiImage::PasteFromClipboard()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage())
        return;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull())
        return;
    stopMessage(false);
    assignPicture(TPicture::fromBitmap(image));
}

void TPMultiImage::FlipImage() { transform(FlipBitmap, QStringLiteral("Error flipping image")); }

void TPMultiImage::MirrorImage() { transform(MirrorBitmap, QStringLiteral("Error rotating image")); }

void TPMultiImage::transform(bool (*operation)(BitmapObject &), const QString &failure)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool raised = false;
    try {
        BitmapObject bitmap{picture_.image()};
        // A failed operation has shown the library's error; the picture stays as it was.
        if (operation(bitmap))
            assignPicture(picture_.withImage(bitmap.bitmap));
    } catch (...) {
        raised = true;
    }
    QApplication::restoreOverrideCursor();
    if (raised)
        InformationBox(failure);
}

void TPMultiImage::PrintImage(QPainter &printer, int X, int Y, int Width, int Height)
{
    if (!picture_.isEmpty())
        printer.drawImage(QRect(X, Y, Width, Height), picture_.image());
}

void TPMultiImage::CaptureWindow(QWidget *window)
{
    BitmapObject bitmap;
    if (CaptureWindowBitmap(window, bitmap))
        assignPicture(TPicture::fromBitmap(bitmap.bitmap));
}

bool TPMultiImage::ScanImage(QWidget *parent)
{
    const int depth = ReadDepth(imageReadRes_, displayBits());
    ClearDisplay();
    BitmapObject bitmap;
    const bool scanned = AcquireScan(parent, depth, imageDither_, useTwainWindow_, bitmap);
    if (!scanned)
        InformationBox(QStringLiteral("Scanning Image Failed"));
    assignPicture(TPicture::fromBitmap(bitmap.bitmap));
    return scanned;
}

bool TPMultiImage::SelectScanner(QWidget *parent) { return SelectScanSource(parent); }

int TPMultiImage::displayBits() const { return DisplayColorBits(this); }

// ---- Scrolling messages ----------------------------------------------------

void TPMultiImage::LoadScrollingLine(const QString &fileName)
{
    assignPicture({});
    if (!ReadTaggedMessageFile(fileName, message_.font, message_.speed, message_.text,
                               message_.background))
        return;
    message_.startHorizontal(size(), color_);
    startMessage();
}

void TPMultiImage::LoadScrollingLines(const QString &fileName)
{
    assignPicture({});
    if (ReadLineMessageFile(fileName, message_.font, message_.speed, message_.lines,
                            message_.background) &&
        message_.startVertical(size(), color_))
        startMessage();
}

void TPMultiImage::startMessage()
{
    color_ = message_.background;
    update();
    emit AnimationChanged(true);
}

void TPMultiImage::stopMessage(bool restoreColor)
{
    if (!message_.playing())
        return;
    const QColor saved = message_.stop().value_or(color_);
    if (restoreColor)
        color_ = saved;
    update();
    emit AnimationChanged(false);
}

void TPMultiImage::ClearDisplay()
{
    stopMessage(true);
    assignPicture({});
}

void TPMultiImage::AnimateStep()
{
    QCoreApplication::postEvent(this, new QEvent(HorizontalStepEvent));
    QCoreApplication::postEvent(this, new QEvent(VerticalStepEvent));
}

bool TPMultiImage::event(QEvent *event)
{
    if (event->type() != HorizontalStepEvent && event->type() != VerticalStepEvent)
        return QFrame::event(event);
    const QPoint origin = contentsRect().topLeft();
    const QRect before = message_.textRect().translated(origin);
    const bool moved = event->type() == HorizontalStepEvent ? message_.horizontalStep()
                                                            : message_.verticalStep(size());
    if (moved)
        update(QRegion(before) | message_.textRect().translated(origin));
    return true;
}

// ---- Painting --------------------------------------------------------------

void TPMultiImage::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    paintPicture(painter, client.size());
    if (message_.playing())
        painter.drawImage(message_.textRect().topLeft(), message_.textBitmap());
    emit OnPaint(painter);
}

// Bitmaps are drawn on the library path (proportions kept when asked, centred in
// the client area); icons and metafiles, and bitmaps when ImageLibPalette is off,
// on the plain path. A reduction keeps black lines when black and white is asked
// for (or, on the plain path, when the picture is black and white itself).
void TPMultiImage::paintPicture(QPainter &painter, QSize client)
{
    const QRect area(QPoint(0, 0), client);
    if (picture_.isEmpty()) {
        painter.fillRect(area, color_);
        return;
    }
    const bool library = picture_.kind() == TPicture::Kind::Bitmap && imageLibPalette_;
    const qreal ratio = picture_.image().devicePixelRatio();
    if (library && ratio != 1.0 && !fit_.stretch && !fit_.stretchRatio) {
        paintDevicePixels(painter, area, ratio);
        return;
    }
    const QRect target = library ? LibraryDestination(client, picture_.size(), fit_)
                                 : PlainDestination(client, size(), picture_.size(), fit_);
    const bool blackOnWhite = library ? imageReadRes_ == lMonoChrome : picture_.image().depth() == 1;
    const QImage &image = cache_.prepared(picture_.image(), target.size(),
                                          blackOnWhite ? StretchMode::BlackOnWhite
                                                       : StretchMode::ColorOnColor);
    QRegion uncovered(area);
    if (!image.hasAlphaChannel())
        uncovered -= target;
    for (const QRect &rect : uncovered)
        painter.fillRect(rect, color_);
    painter.drawImage(target.topLeft(), image);
}

// A picture made for the screen's device pixels (a device pixel ratio of its own)
// is drawn pixel for pixel, centred on a whole device pixel: neither doubled nor cut short.
void TPMultiImage::paintDevicePixels(QPainter &painter, const QRect &area, qreal ratio)
{
    const QImage &image = picture_.image();
    QPoint coin;
    if (fit_.center)
        coin = QPoint((qRound(area.width() * ratio) - image.width()) / 2,
                      (qRound(area.height() * ratio) - image.height()) / 2);
    const QRectF target(QPointF(coin) / ratio, image.deviceIndependentSize());
    QRegion uncovered(area);
    if (!image.hasAlphaChannel())
        uncovered -= target.toAlignedRect().adjusted(1, 1, -1, -1);
    for (const QRect &rect : uncovered)
        painter.fillRect(rect, color_);
    painter.drawImage(target.topLeft(), image);
}

void TPMultiImage::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    update();
}

// ---- Mouse, keys, drag and drop --------------------------------------------

void TPMultiImage::mousePressEvent(QMouseEvent *event)
{
    clickStarted_ = event->button() == Qt::LeftButton;
    emit OnMouseDown(event);
}

void TPMultiImage::mouseMoveEvent(QMouseEvent *event) { emit OnMouseMove(event); }

void TPMultiImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = clickStarted_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    clickStarted_ = false;
    if (click)
        emit OnClick();
    emit OnMouseUp(event);
}

// The second press of a double click is a press too, but not a click.
void TPMultiImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    clickStarted_ = false;
    emit OnDblClick();
    emit OnMouseDown(event);
}

void TPMultiImage::keyPressEvent(QKeyEvent *event)
{
    emit OnKeyDown(event);
    if (!event->text().isEmpty())
        emit OnKeyPress(event->text());
    switch (ClipboardKey(*event)) {
    case ClipboardAction::Copy: CopyToClipboard(); return;
    case ClipboardAction::Cut: CutToClipboard(); return;
    case ClipboardAction::Paste: PasteFromClipboard(); return;
    case ClipboardAction::None: break;
    }
    // Unless a receiver handles the control's keys, the window gets them.
    if (!isSignalConnected(QMetaMethod::fromSignal(&TPMultiImage::OnKeyDown)))
        event->ignore();
}

void TPMultiImage::keyReleaseEvent(QKeyEvent *event)
{
    emit OnKeyUp(event);
    if (!isSignalConnected(QMetaMethod::fromSignal(&TPMultiImage::OnKeyUp)))
        event->ignore();
}

void TPMultiImage::dragEnterEvent(QDragEnterEvent *event)
{
    event->ignore();
    emit OnDragOver(event);
}

void TPMultiImage::dragMoveEvent(QDragMoveEvent *event)
{
    event->ignore();
    emit OnDragOver(event);
}

void TPMultiImage::dropEvent(QDropEvent *event)
{
    event->ignore();
    emit OnDragDrop(event);
}
