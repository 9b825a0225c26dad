// The scrolling messages of the image control: one line running from right to
// left (".SCM" files) or lines rising one after the other from the bottom to the
// top (".CMS" files), played forever until stopped.
//
// The state machine only: each line is rendered once into textBitmap(); a step
// moves it, and the control draws it at textRect() over the message background.
#pragma once

#include "messagefile.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class ScrollingMessage {
public:
    enum class Mode { Idle, Horizontal, Vertical };

    // Read from the message files; what a file lacks keeps its former value.
    MessageFont font;
    int speed = 0;  // a step moves on every (speed + 1)-th tick
    QColor background;
    QString text;       // the horizontal message
    QStringList lines;  // the vertical message

    // Starts `text` at the right edge of a control of `control` size, vertically
    // centred. `controlColor` is given back by stop().
    void startHorizontal(QSize control, const QColor &controlColor);
    // Starts `lines` from the first one below the control's bottom edge; stays
    // idle (false) when there is no line or the first one is empty.
    bool startVertical(QSize control, const QColor &controlColor);

    // One tick of each scroll; true when the text moved. Each does nothing unless
    // its own scroll is playing. A new line is laid out for the control's size now.
    bool horizontalStep();
    bool verticalStep(QSize control);

    // Ends the message; the control's colour saved at its start when one was playing.
    std::optional<QColor> stop();

    Mode mode() const { return mode_; }
    bool playing() const { return mode_ != Mode::Idle; }
    const QImage &textBitmap() const { return bitmap_; }
    // Where textBitmap() goes: the part of the text it holds (all of a short one).
    QRect textRect() const { return QRect(QPoint(left_ + origin_, top_), bitmap_.size()); }
    int currentLine() const { return current_; }

private:
    bool scrollTick();
    void begin(Mode mode, QSize control, const QColor &controlColor);
    void prepareLine();
    int bitmapCap() const;
    void layOut(const QString &line, int extraWidth, int extraHeight);
    void renderFrom(int x);
    void keepVisible();

    Mode mode_ = Mode::Idle;
    int counter_ = 0;  // shared by both scrolls
    QSize control_;
    QColor saved_;
    QImage bitmap_;
    QString shown_;       // the text being played
    QList<int> starts_;   // where each of its pieces starts, then its whole width
    int origin_ = 0;      // the text's x at the bitmap's left edge
    int bitmapHeight_ = 0;
    int textWidth_ = 0;
    int lineHeight_ = 0;
    int left_ = 0;
    int right_ = 0;
    int top_ = 0;
    int current_ = 0;
};
