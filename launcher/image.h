// A picture control that tells its window about the mouse: moves (with or
// without a button held), any button pressed, and a left click (pressed and released on
// it). Without a picture it is a transparent area.
#pragma once

#include <QLabel>

namespace lanceur {

// The name of control `controle` of index `i` in an array of controls: "Image3_2".
QString nom_indice(const char *controle, int i);

class Image : public QLabel {
    Q_OBJECT
public:
    Image(const QString &nom, QWidget *parent);

    void setImage(const QPixmap &image);

signals:
    void MouseMove();
    void MouseDown();
    void Click();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

}  // namespace lanceur
