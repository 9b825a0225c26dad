// The full-size view: a picture at its natural size from the window's top-left
// corner, maximised, on top, scrolling when the picture is larger than the screen.
#pragma once

#include <QDialog>

class QScrollArea;
class TPMultiImage;
class TPicture;

class Tnormal : public QDialog {
    Q_OBJECT
public:
    explicit Tnormal(QWidget *parent = nullptr);
    TPMultiImage *image;
    // Takes `picture` and shows it at its own size from the top-left corner, modally.
    void montre(const TPicture &picture);

private:
    QScrollArea *defilement;
};
