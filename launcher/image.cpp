#include "image.h"

#include <QMouseEvent>

namespace lanceur {

QString nom_indice(const char *controle, int i)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(controle)).arg(i);
}

Image::Image(const QString &nom, QWidget *parent) : QLabel(parent)
{
    setObjectName(nom);
    setMouseTracking(true);
}

void Image::setImage(const QPixmap &image)
{
    setPixmap(image);
    resize(image.size());
}

void Image::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit MouseMove();
}

void Image::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit MouseDown();
}

void Image::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

}  // namespace lanceur
