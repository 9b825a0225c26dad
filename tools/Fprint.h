// The image print options: zoom, copies, centring, and the printer set-up. The
// caller reads the entries as it needs them; they stay for the next showing.
#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

// What the user asked for, as typed: the caller checks the numbers.
struct OptionsImpression {
    QString zoom;
    QString copies;
    bool horizontal = false;
    bool vertical = false;
};

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
    // Shows the options; what they hold when confirmed, nothing when cancelled.
    std::optional<OptionsImpression> demande();
};
