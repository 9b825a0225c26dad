// The name prompt for a scanned picture. It keeps its text from one showing to
// the next; the caller checks and uses the name.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class Tsauve_image : public QDialog {
    Q_OBJECT
public:
    explicit Tsauve_image(QWidget *parent = nullptr);

    QLineEdit *nom;

    // Shows the prompt and gives the name then in its field, however it was closed.
    QString demande();
    QPushButton *BitBtn1;
};
