// THORLOGE_DIGITAL: the clock of the status line; its caption shows the time of
// day in the system's long time format and follows it every second.
#pragma once

#include <QLabel>
#include <QLocale>
#include <QTime>

class QTimer;

// `heure` in the long time format of `langue`, without a time zone ("15:40:12").
QString heure_longue(const QTime &heure, const QLocale &langue);

class THORLOGE_DIGITAL : public QLabel {
    Q_OBJECT

public:
    explicit THORLOGE_DIGITAL(QWidget *parent = nullptr);

    // The timer's handler: the caption takes the current time.
    void Timer1Timer();

private:
    QTimer *Timer1;
};
