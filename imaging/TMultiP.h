// TPMultiImage: the program's one image control. It loads a picture file chosen
// by its extension, paints it plainly, centred, stretched or fitted with its
// proportions kept, shows a caption over it, saves it in six formats, reports the
// file's characteristics, exchanges it with the clipboard, flips and mirrors it,
// prints it, captures a window into it, acquires it from a scanner, and plays the
// scrolling messages of ".SCM" and ".CMS" files.
//
// Properties follow the Delphi names: `Stretch()` reads, `setStretch()` writes.
// Events are signals named after the Delphi events. Mouse events stop at the
// control; a key goes on to the parent window too, unless it is a clipboard key
// or a receiver is connected to OnKeyDown (OnKeyUp for releases).
//
// Scrolling messages advance one step per AnimateStep(), which posts the two
// step events (HorizontalStepEvent, VerticalStepEvent) to the control; an
// AnimationIdle (animation.h) calls it while a message plays.
#pragma once

#include "fitting.h"
#include "imagefile.h"
#include "imagekinds.h"
#include "picture.h"
#include "scrolling.h"

#include <QColor>
#include <QEvent>
#include <QFrame>
#include <QString>

class QLabel;
class ServiceLecture;
struct DemandeLecture;
class QPainter;

class TPMultiImage : public QFrame {
    Q_OBJECT

public:
    enum TBorderStyle { bsNone, bsSingle };

    // The private step events that AnimateStep() posts to the control itself.
    static constexpr QEvent::Type HorizontalStepEvent = QEvent::Type(QEvent::User + 1025);
    static constexpr QEvent::Type VerticalStepEvent = QEvent::Type(QEvent::User + 1026);

    explicit TPMultiImage(QWidget *parent = nullptr);

    // Published properties.
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool Center() const { return fit_.center; }
    void setCenter(bool on);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle style);
    // Background of the control where the picture does not cover it.
    QColor Color() const { return color_; }
    void setColor(const QColor &color);
    // Colour of the control's Font, given to the caption by LayoutCaption().
    QColor FontColor() const { return fontColor_; }
    void setFontColor(const QColor &color);
    QString DefSaveFilename() const { return defSaveFilename_; }
    void setDefSaveFilename(const QString &name) { defSaveFilename_ = name; }
    const TPicture &Picture() const { return picture_; }
    // Assigning a picture also ends a scrolling message and gives the control its colour back.
    void setPicture(const TPicture &picture);
    // The result text of the last load: "file not found", "Non TIF, JPeg, BMP, GIF,
    // PNG or PCX Image" for icons and metafiles ("Reading ico file failed",
    // "Reading wmf file failed" when unreadable), else the path in upper case.
    QString ImageName() const { return result_; }
    // Loads the file (see the loading rules in TMultiP.cpp).
    void setImageName(const QString &path);
    // Why the last load did not give the file's whole picture, naming the file
    // ("Fichier image incomplet : C:\\A.JPG"); empty when it did. The picture
    // then shown, if any, is only what was decoded (its readFailure()).
    QString ReadFailure() const { return readFailure_; }
    bool ImageLibPalette() const { return imageLibPalette_; }
    void setImageLibPalette(bool on);
    bool ImageDither() const { return imageDither_; }
    void setImageDither(bool on) { imageDither_ = on; }
    TLoadResolution ImageReadRes() const { return imageReadRes_; }
    void setImageReadRes(TLoadResolution resolution);
    TSaveResolution ImageWriteRes() const { return imageWriteRes_; }
    void setImageWriteRes(TSaveResolution resolution) { imageWriteRes_ = resolution; }
    TTiffCompression TifSaveCompress() const { return tifSaveCompress_; }
    void setTifSaveCompress(TTiffCompression compression) { tifSaveCompress_ = compression; }
    // 1..100; any other value is stored as 25.
    int JPegSaveQuality() const { return jpegSaveQuality_; }
    void setJPegSaveQuality(int quality);
    // 0..100; any other value is stored as 5.
    int JPegSaveSmooth() const { return jpegSaveSmooth_; }
    void setJPegSaveSmooth(int smoothing);
    bool PNGInterLaced() const { return pngInterlaced_; }
    void setPNGInterLaced(bool on) { pngInterlaced_ = on; }
    // Stretch and StretchRatio exclude each other: setting one on sets the other off.
    bool Stretch() const { return fit_.stretch; }
    void setStretch(bool on);
    bool StretchRatio() const { return fit_.stretchRatio; }
    void setStretchRatio(bool on);
    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void setTabStop(bool on);
    // The caption shown over the picture.
    QString Text() const { return text_; }
    void setText(const QString &text);
    bool Textop() const { return textop_; }
    void setTextop(bool top) { textop_ = top; }
    bool TextTransParent() const { return textTransparent_; }
    void setTextTransParent(bool on) { textTransparent_ = on; }
    // Kept for the callers that set them; the caption does not draw them.
    bool TextShadow() const { return textShadow_; }
    void setTextShadow(bool on);
    QColor TextShadowColor() const { return textShadowColor_; }
    void setTextShadowColor(const QColor &color) { textShadowColor_ = color; }
    int TextLeft() const { return textLeft_; }
    void setTextLeft(int left);
    int TextTop() const { return textTop_; }
    void setTextTop(int top);
    int TextRotate() const { return textRotate_; }
    void setTextRotate(int angle);
    // When not empty, a JPEG is decoded only as large as its picture fitted into
    // this zone needs (thumbnails); the Info fields keep the file's own size.
    QSize ReadReduction() const { return readReduction_; }
    void setReadReduction(QSize zone) { readReduction_ = zone; }
    // With a ReadReduction whose size in device pixels the desktop's thumbnail cache
    // covers (cache_vignettes), a picture read at true colour is that cache's
    // thumbnail, taken from it or kept in it (off at start).
    void setThumbnailCache(bool on) { thumbnailCache_ = on; }
    // The service that reads this control's pictures ahead (none at start).
    void setReadAhead(ServiceLecture *service) { readAhead_ = service; }
    // With a ReadReduction and a read-ahead service, starts reading the picture
    // `path` on the service's pool; the next setImageName(path) takes the result.
    void PrefetchImageName(const QString &path);
    bool UseTwainWindow() const { return useTwainWindow_; }
    void setUseTwainWindow(bool on) { useTwainWindow_ = on; }

    // Background of the caption when TextTransParent is off.
    QColor CaptionColor = Qt::black;

    // The last loaded file's characteristics (ReadImageInfo).
    QString InfoType;
    int InfoWidth = 0;
    int InfoHeight = 0;
    int InfoBitsPerPixel = 0;
    int InfoDensity = 0;
    int InfoColors = 0;
    qint64 InfoFileSize = 0;
    QString InfoCompression;

    // Places the caption across the control's width, at its top or its bottom,
    // as high as its wrapped text, with the control's font and CaptionColor.
    void LayoutCaption();

    // Each writes the picture to `fileName` (which becomes DefSaveFilename) or,
    // when it is empty, to DefSaveFilename. False when the writer failed.
    bool SaveAsBmp(const QString &fileName = {});
    bool SaveAsPng(const QString &fileName = {});
    bool SaveAsJpeg(const QString &fileName = {});
    bool SaveAsGif(const QString &fileName = {});
    bool SaveAsTif(const QString &fileName = {});
    bool SaveAsPcx(const QString &fileName = {});

    // False, after an error box naming the file, when the picture is only what a
    // failed reading decoded: such a picture is never written.
    bool PictureWritable();

    // Fills the Info fields for `fileName`; false when its characteristics cannot be read.
    bool ReadImageInfo(const QString &fileName);

    void CopyToClipboard();
    void CutToClipboard();
    // Takes a picture from the clipboard when it holds one; ends a scrolling
    // message, leaving the control in the message's background colour.
    void PasteFromClipboard();

    void FlipImage();    // top to bottom
    void MirrorImage();  // left to right

    // Draws the picture into (X, Y, Width, Height) of an open print document.
    void PrintImage(QPainter &printer, int X, int Y, int Width, int Height);
    // The picture becomes a copy of `window`'s contents as on the screen.
    void CaptureWindow(QWidget *window);
    bool ScanImage(QWidget *parent);
    bool SelectScanner(QWidget *parent);

    // Scrolling messages.
    void LoadScrollingLine(const QString &fileName);
    void LoadScrollingLines(const QString &fileName);
    void AnimateStep();
    // Stops a message (giving the control its colour back) and empties the picture.
    void ClearDisplay();
    bool IsAnimating() const { return message_.playing(); }
    const ScrollingMessage &Message() const { return message_; }

    // The picture as prepared for painting at its current size.
    const ScaledPictureCache &PaintCache() const { return cache_; }

signals:
    void OnClick();
    void OnDblClick();
    // At the end of every paint, with the painter on the client area.
    void OnPaint(QPainter &canvas);
    void OnMouseDown(QMouseEvent *event);
    void OnMouseMove(QMouseEvent *event);
    void OnMouseUp(QMouseEvent *event);
    void OnKeyDown(QKeyEvent *event);
    void OnKeyPress(const QString &text);
    void OnKeyUp(QKeyEvent *event);
    // A receiver accepts the event to take the drag.
    void OnDragOver(QDragMoveEvent *event);
    void OnDragDrop(QDropEvent *event);
    // A scrolling message started (true) or stopped (false).
    void AnimationChanged(bool playing);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QString load(const QString &path);
    void readBitmapFile(ImageKind kind, const QString &path);
    DemandeLecture readAheadRequest(const QString &path) const;
    void assignPicture(const TPicture &picture);
    void PictureChanged();
    void setInfo(const QString &type, int width, int height, int bits, int density, int colors,
                 const QString &compression, qint64 fileSize);
    // The picture as a bitmap to write: an icon or a metafile is flattened onto Color.
    QImage pictureBitmap() const;
    bool save(sky::Format format, const QString &fileName);
    void transform(bool (*operation)(BitmapObject &), const QString &failure);
    void stopMessage(bool restoreColor);
    void startMessage();
    void paintPicture(QPainter &painter, QSize client);
    void paintDevicePixels(QPainter &painter, const QRect &area, qreal ratio);
    int displayBits() const;

    TPicture picture_;
    QLabel *caption_ = nullptr;
    ScrollingMessage message_;
    ScaledPictureCache cache_;
    QString result_;
    QString readFailure_;
    bool clickStarted_ = false;

    bool autoSize_ = false;
    TBorderStyle borderStyle_ = bsNone;
    QColor color_;
    QColor fontColor_ = Qt::black;
    QString defSaveFilename_;
    bool imageLibPalette_ = true;
    bool imageDither_ = true;
    TLoadResolution imageReadRes_ = lAutoMatic;
    TSaveResolution imageWriteRes_ = sAutoMatic;
    TTiffCompression tifSaveCompress_ = sNONE;
    int jpegSaveQuality_ = 25;
    int jpegSaveSmooth_ = 0;
    bool pngInterlaced_ = false;
    FitOptions fit_;
    QString text_;
    bool textop_ = false;
    bool textTransparent_ = true;
    bool textShadow_ = false;
    QColor textShadowColor_ = Qt::black;
    int textLeft_ = 0;
    int textTop_ = 0;
    int textRotate_ = 0;
    bool useTwainWindow_ = true;
    QSize readReduction_;
    ServiceLecture *readAhead_ = nullptr;
    bool thumbnailCache_ = false;
};
