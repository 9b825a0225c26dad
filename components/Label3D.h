// A text label with a one-pixel drop shadow: the titles of group boxes and
// information fields. The shadow is the caption drawn once more in ShadowColor,
// one pixel right and down, under the caption itself.
#pragma once

#include <QColor>
#include <QLabel>

class TLabel3D : public QLabel {
    Q_OBJECT

public:
    explicit TLabel3D(QWidget *parent = nullptr);
    explicit TLabel3D(const QString &texte, QWidget *parent = nullptr);

    QColor ShadowColor() const { return shadowColor_; }
    void setShadowColor(const QColor &couleur);

    // Transparent: the background is left unpainted; else it is filled with Color.
    bool Transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    QColor Color() const { return color_; }
    void setColor(const QColor &couleur);

    // "&" marks the next letter as the accelerator; off, it is shown as it is.
    bool ShowAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool montre);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor shadowColor_;
    QColor color_;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};
