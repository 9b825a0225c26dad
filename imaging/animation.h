// Drives the scrolling messages of an image control from the main window's idle
// time: while one is attached and plays a message, it calls AnimateStep() at a
// steady rate; while no message plays, nothing ticks.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class TPMultiImage;

class AnimationIdle : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 10;  // about a hundred steps a second

    explicit AnimationIdle(QObject *parent = nullptr);

    // Follows `target`'s messages from now on (and stops following any other).
    void attach(TPMultiImage *target);
    void detach();
    bool ticking() const { return timer_.isActive(); }

private:
    void follow(bool playing);

    QPointer<TPMultiImage> target_;
    QMetaObject::Connection connection_;
    QMetaObject::Connection destruction_;
    QTimer timer_;
};
