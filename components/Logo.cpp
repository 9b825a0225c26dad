#include "Logo.h"

#include "imagefile.h"

#include <QPixmap>
#include <QTimer>

LogoAnime::LogoAnime(const QString &prefixe, int cote, QWidget *parent)
    : QLabel(parent), prefixe_(prefixe), timer_(new QTimer(this))
{
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &LogoAnime::Timer1Timer);
    setGeometry(0, 0, cote, cote);
    setFixedSize(cote, cote);
    montre_image(1);
}

void LogoAnime::start() { timer_->start(); }

void LogoAnime::stop() { timer_->stop(); }

bool LogoAnime::actif() const { return timer_->isActive(); }

void LogoAnime::Timer1Timer()
{
    ++compteur_;
    montre_image(compteur_);
    if (compteur_ == NOMBRE_IMAGES)
        compteur_ = 0;
}

// A frame that cannot be loaded leaves the last one on show.
void LogoAnime::montre_image(int numero)
{
    BitmapObject image;
    if (LoadResourceBitmap({}, prefixe_ + QString::number(numero), this, image))
        setPixmap(QPixmap::fromImage(image.bitmap));
}

TLOGO::TLOGO(QWidget *parent) : LogoAnime(QStringLiteral("l"), 100, parent) {}
