// THORLOGE_DIGITAL: the clock of the status line; its caption shows the time of
// day in the system's long time format and follows it every second.
#pragma once

#include <QLabel>
#include <QLocale>
#include <QTime>
#include <functional>

class QTimer;

// `heure` in the long time format of `langue`, without a time zone ("15:40:12").
QString heure_longue(const QTime &heure, const QLocale &langue);

class THORLOGE_DIGITAL : public QLabel {
    Q_OBJECT

public:
    // `horloge` gives the time of day and `langue` its format (a test sets its own).
    explicit THORLOGE_DIGITAL(QWidget *parent = nullptr, std::function<QTime()> horloge = &QTime::currentTime,
                              const QLocale &langue = QLocale::system());

    // The timer's handler: the caption takes the current time.
    void Timer1Timer();

private:
    QTimer *Timer1;
    std::function<QTime()> horloge_;
    QLocale langue_;
};
