// The picture of the image control: a bitmap (with its palette when indexed), an
// icon or a rendered Windows metafile; copied by value.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class TPicture {
public:
    enum class Kind { Empty, Bitmap, Icon, Metafile };

    TPicture() = default;
    // A null image gives an empty picture.
    static TPicture fromBitmap(const QImage &image) { return TPicture(Kind::Bitmap, image); }
    static TPicture fromIcon(const QImage &image) { return TPicture(Kind::Icon, image); }
    static TPicture fromMetafile(const QImage &image) { return TPicture(Kind::Metafile, image); }
    // What a reading that failed part-way decoded, with its failure (the reading's
    // message and the file): it may be shown, never written as that file's picture.
    static TPicture incompleteBitmap(const QImage &image, const QString &failure)
    {
        TPicture picture(Kind::Bitmap, image);
        picture.readFailure_ = failure;
        return picture;
    }

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    const QImage &image() const { return image_; }
    QSize size() const { return image_.size(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    // Empty for a picture that is whole.
    const QString &readFailure() const { return readFailure_; }

    // The same kind of picture holding `image` instead (after a flip, say),
    // still incomplete if this one was.
    TPicture withImage(const QImage &image) const
    {
        TPicture picture(kind_, image);
        picture.readFailure_ = readFailure_;
        return picture;
    }

private:
    TPicture(Kind kind, const QImage &image)
        : kind_(image.isNull() ? Kind::Empty : kind), image_(image)
    {
    }

    Kind kind_ = Kind::Empty;
    QImage image_;
    QString readFailure_;
};

// The largest image of an icon file, read by Qt's own reader; empty when unreadable.
TPicture LoadIconPicture(const QString &path);

// A Windows metafile (".WMF", placeable or not) rendered by libwmf at its own size
// on a 96 dots-per-inch display; empty when unreadable.
TPicture LoadMetafilePicture(const QString &path);
