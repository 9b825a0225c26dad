// The image print options: zoom, copies, centring, and the printer set-up. The
// caller reads the entries as it needs them; they stay for the next showing.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class Timpression : public QDialog {
    Q_OBJECT
public:
    explicit Timpression(QWidget *parent = nullptr);

    QLineEdit *zoom;
    QLineEdit *copies;
    QCheckBox *horizontal;
    QCheckBox *vertical;
    QPushButton *BitBtn3;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

    void BitBtn3Click();
};
