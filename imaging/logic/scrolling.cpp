#include "scrolling.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

// A text longer than this is measured and drawn in pieces of this many characters.
constexpr qsizetype kPiece = 256;
// The tallest text bitmap; a taller line is cut (no control shows that much of it).
constexpr int kMaxBitmapHeight = 2048;

const QImage &MeasuringDevice()
{
    static const QImage device(1, 1, QImage::Format_RGB32);
    return device;
}

// The line's height, and where each piece of the text starts (the last entry is the
// text's whole width), measured on the kind of device the text is drawn on.
int LayOutPieces(const QString &text, const QFont &font, QList<int> &starts)
{
    const QFontMetrics metrics(font, &MeasuringDevice());
    starts = {0};
    for (qsizetype i = 0; i < text.size(); i += kPiece)
        starts.append(starts.last() + metrics.horizontalAdvance(text.mid(i, kPiece)));
    return metrics.height();
}

// Two spaces before and one after, unless the line already has its own.
QString PaddedLine(QString line)
{
    if (!line.startsWith(QLatin1Char(' ')))
        line.prepend(QStringLiteral("  "));
    if (!line.endsWith(QLatin1Char(' ')))
        line.append(QLatin1Char(' '));
    return line;
}

}  // namespace

int ScrollingMessage::bitmapCap() const { return std::max(4 * control_.width(), 2048); }

void ScrollingMessage::layOut(const QString &line, int extraWidth, int extraHeight)
{
    shown_ = line;
    lineHeight_ = LayOutPieces(line, font.font, starts_);
    textWidth_ = starts_.last() + extraWidth;
    bitmapHeight_ = std::min(lineHeight_ + extraHeight, kMaxBitmapHeight);
}

void ScrollingMessage::renderFrom(int x)
{
    // Only a window of a long text is drawn: the memory a message takes stays bounded.
    const int width = std::min(textWidth_, bitmapCap());
    origin_ = std::clamp(x, 0, std::max(0, textWidth_ - width));
    bitmap_ = QImage();
    if (width <= 0 || bitmapHeight_ <= 0)
        return;
    bitmap_ = QImage(width, bitmapHeight_, QImage::Format_RGB32);
    bitmap_.fill(background);
    QPainter painter(&bitmap_);
    painter.setFont(font.font);
    painter.setPen(font.color);
    for (qsizetype k = 0; k + 1 < starts_.size(); ++k) {
        if (starts_[k + 1] < origin_ || starts_[k] > origin_ + width)
            continue;
        painter.drawText(QRect(starts_[k] - origin_, 0, starts_[k + 1] - starts_[k] + width, bitmapHeight_),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown_.mid(k * kPiece, kPiece));
    }
}

void ScrollingMessage::keepVisible()
{
    if (bitmap_.width() >= textWidth_)
        return;  // the whole text is drawn
    const int first = std::max(-left_, 0);
    const int last = std::min(-left_ + control_.width(), textWidth_);
    if (first < origin_ || last > origin_ + bitmap_.width())
        renderFrom(first);
}

void ScrollingMessage::begin(Mode mode, QSize control, const QColor &controlColor)
{
    // A message started over another keeps the colour the control had before both.
    if (!playing())
        saved_ = controlColor;
    mode_ = mode;
    control_ = control;
}

void ScrollingMessage::startHorizontal(QSize control, const QColor &controlColor)
{
    begin(Mode::Horizontal, control, controlColor);
    layOut(text, 0, 0);
    left_ = control.width();
    right_ = control.width() + textWidth_;
    top_ = (control.height() - lineHeight_) / 2;
    renderFrom(0);
}

bool ScrollingMessage::startVertical(QSize control, const QColor &controlColor)
{
    current_ = 0;
    if (lines.isEmpty() || lines.first().isEmpty())
        return false;
    begin(Mode::Vertical, control, controlColor);
    prepareLine();
    return true;
}

void ScrollingMessage::prepareLine()
{
    if (current_ >= lines.size())
        current_ = 0;
    const QString line = lines.value(current_);
    if (line.isEmpty())
        return;  // left above the top edge: the next step moves on to the following line
    const QString padded = PaddedLine(line);
    layOut(padded, 0, 5);
    // Widened by about one character's width, so that the last one is never clipped.
    // A line of one or two spaces has no characters to go by and stays as measured.
    if (padded.size() > 2)
        textWidth_ += textWidth_ / int(padded.size() - 2);
    left_ = (control_.width() - textWidth_) / 2;
    top_ = control_.height();
    renderFrom(-left_);
}

bool ScrollingMessage::scrollTick()
{
    ++counter_;
    if (counter_ > speed) {
        counter_ = 0;
        return true;
    }
    return false;
}

bool ScrollingMessage::horizontalStep()
{
    if (mode_ != Mode::Horizontal || !scrollTick())
        return false;
    --left_;
    --right_;
    if (right_ < 0) {
        left_ = control_.width();
        right_ = control_.width() + textWidth_;
    }
    keepVisible();
    return true;
}

bool ScrollingMessage::verticalStep(QSize control)
{
    if (mode_ != Mode::Vertical || !scrollTick())
        return false;
    --top_;
    if (top_ < -lineHeight_ - 5) {
        if (lines.isEmpty()) {
            top_ = control_.height();
        } else {
            ++current_;
            control_ = control;
            prepareLine();
        }
    }
    return true;
}

std::optional<QColor> ScrollingMessage::stop()
{
    if (!playing())
        return std::nullopt;
    mode_ = Mode::Idle;
    bitmap_ = QImage();
    return saved_;
}
