// The presentation mode dialog "DEFILEMENT": manual or automatic scrolling, the
// control device of manual mode (mouse buttons or arrow pad) and the delay of
// automatic mode, and whether that mode waits for the end of each slide's sound. It
// edits the settings in memory (config_sli); its caller stores them. The delay, the
// device and the wait change as the user edits; the mode only by OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

class Tmode : public QDialog {
    Q_OBJECT
public:
    explicit Tmode(QWidget *parent = nullptr);

    // The help file, opened at this dialog's page by F1.
    QString fichier_aide;

    QRadioButton *manuel;
    QFrame *b1;
    QLabel *Image1;
    QFrame *b2;
    QLabel *Image2;
    QRadioButton *automatique;
    QLabel *Label1;
    QSpinBox *delai;
    QCheckBox *attendre_fin_son;
    QPushButton *BitBtn1;

    void FormShow();
    void manuelClick();
    void automatiqueClick();
    void delaiChange();
    void b1Click();
    void b2Click();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Enables the controls of the chosen mode and shows the delay and the chosen device.
    void reset();
    int valeur_delai() const;
};
