// The animated logos: image controls that play thirteen frames, stored as named
// bitmap resources of the program, one every 100 ms while started. TLOGO
// (100 x 100, frames "l1" to "l13") sits in the about box; TSLOGO (Slogo) on the
// main window's status line.
#pragma once

#include <QLabel>
#include <QString>

class QTimer;

class LogoAnime : public QLabel {
    Q_OBJECT

public:
    static constexpr int NOMBRE_IMAGES = 13;

    void start();
    void stop();
    bool actif() const;
    // The frame counter: 0 before the first tick and after the thirteenth frame.
    int compteur() const { return compteur_; }

    // The timer's tick: one more on the counter and its frame shown; after the
    // thirteenth frame the counter starts again, so the next tick shows the first.
    void Timer1Timer();

protected:
    // Frames are `prefixe` followed by their number; the control is `cote` pixels square.
    LogoAnime(const QString &prefixe, int cote, QWidget *parent);

private:
    void montre_image(int numero);

    QString prefixe_;
    QTimer *timer_;
    int compteur_ = 0;
};

class TLOGO : public LogoAnime {
    Q_OBJECT

public:
    explicit TLOGO(QWidget *parent = nullptr);
};
