#include "Label3D.h"

#include <QPainter>

TLabel3D::TLabel3D(QWidget *parent) : TLabel3D(QString(), parent) {}

TLabel3D::TLabel3D(const QString &texte, QWidget *parent)
    : QLabel(texte, parent),
      shadowColor_(palette().color(QPalette::Light)),
      color_(palette().color(QPalette::Window))
{
    // Room for the shadow, on the right and at the bottom.
    resize(size() + QSize(1, 1));
}

void TLabel3D::setShadowColor(const QColor &couleur)
{
    if (couleur == shadowColor_)
        return;
    shadowColor_ = couleur;
    update();
}

void TLabel3D::setTransparent(bool transparent)
{
    transparent_ = transparent;
    update();
}

void TLabel3D::setColor(const QColor &couleur)
{
    color_ = couleur;
    update();
}

void TLabel3D::setShowAccelChar(bool montre)
{
    showAccelChar_ = montre;
    update();
}

QSize TLabel3D::sizeHint() const { return QLabel::sizeHint() + QSize(1, 1); }
QSize TLabel3D::minimumSizeHint() const { return QLabel::minimumSizeHint() + QSize(1, 1); }

void TLabel3D::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect zone = contentsRect();
    if (!transparent_)
        p.fillRect(rect(), color_);
    int format = int(alignment()) | Qt::TextExpandTabs;
    if (wordWrap())
        format |= Qt::TextWordWrap;
    if (showAccelChar_)
        format |= Qt::TextShowMnemonic;
    p.setFont(font());
    p.setPen(shadowColor_);
    p.drawText(zone.translated(1, 1), format, text());
    p.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText)
                         : palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(zone, format, text());
}
