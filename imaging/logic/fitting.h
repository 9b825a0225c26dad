// Where the image control draws its picture, and the copy of the picture kept
// ready for drawing at that size. Values in, values out: no widgets.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// The nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
int RoundHalfEven(double value);

// The picture fitted into the client area with its proportions kept: a picture at
// least as high as wide fills the height, any other the width; centred across the
// other direction. A picture with a zero dimension takes the whole client area.
QRect RatioRect(QSize client, QSize picture);

struct FitOptions {
    bool stretch = false;
    bool stretchRatio = false;
    bool center = false;
};

// Destination of a bitmap drawn with its palette realised (client coordinates).
QRect LibraryDestination(QSize client, QSize picture, const FitOptions &options);

// Destination of any other picture: the proportions are never kept, and the
// centring is reckoned on the control's whole size rather than its client area.
QRect PlainDestination(QSize client, QSize control, QSize picture, const FitOptions &options);

// Colour-on-colour drops the rows and columns that do not fit; black-on-white
// keeps a pixel's darkest neighbours (a logical AND), so thin black lines of a
// black-and-white picture survive a reduction.
enum class StretchMode { ColorOnColor, BlackOnWhite };

QImage StretchImage(const QImage &source, QSize size, StretchMode mode);

// The picture brought to its drawn size and to a format that draws without a
// conversion, made once and kept until the picture, the size or the mode changes,
// so that a paint never rescales a full-size photo.
class ScaledPictureCache {
public:
    const QImage &prepared(const QImage &picture, QSize size, StretchMode mode);
    void clear();
    // How many times a picture was actually scaled or converted.
    int preparations() const { return preparations_; }

private:
    qint64 key_ = 0;
    QSize size_;
    StretchMode mode_ = StretchMode::ColorOnColor;
    QImage prepared_;
    int preparations_ = 0;
};
