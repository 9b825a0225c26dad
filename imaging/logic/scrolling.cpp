#include "scrolling.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Measured on the kind of device the text is drawn on, so both agree.
QSize MeasureText(const QString &text, const QFont &font)
{
    static const QImage device(1, 1, QImage::Format_RGB32);
    const QFontMetrics metrics(font, &device);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

QImage RenderText(const QString &text, const MessageFont &font, const QColor &background, QSize size)
{
    if (size.isEmpty())
        return {};
    QImage bitmap(size, QImage::Format_RGB32);
    bitmap.fill(background);
    QPainter painter(&bitmap);
    painter.setFont(font.font);
    painter.setPen(font.color);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    return bitmap;
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
    const QSize size = MeasureText(text, font.font);
    textWidth_ = size.width();
    lineHeight_ = size.height();
    left_ = control.width();
    right_ = control.width() + textWidth_;
    top_ = (control.height() - lineHeight_) / 2;
    bitmap_ = RenderText(text, font, background, size);
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
    const QSize size = MeasureText(padded, font.font);
    // Widened by about one character's width, so that the last one is never clipped.
    // A line of one or two spaces has no characters to go by and stays as measured.
    int width = size.width();
    if (padded.size() > 2)
        width += width / int(padded.size() - 2);
    textWidth_ = width;
    lineHeight_ = size.height();
    left_ = (control_.width() - width) / 2;
    top_ = control_.height();
    bitmap_ = RenderText(padded, font, background, QSize(width, lineHeight_ + 5));
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
