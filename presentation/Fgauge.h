// The small progress window shown while a long task runs (loading a page of the
// contact sheet, printing the scenario): a red gauge over the window whose
// task it follows, without title-bar buttons. Its user sets the caption and the range.
#pragma once

#include <QDialog>

class QProgressBar;

class Tjauge : public QDialog {
    Q_OBJECT

public:
    explicit Tjauge(QWidget *parent = nullptr);

    QProgressBar *barre;

    // Shows the window, not modally, centred on the screen, with `titre` and the
    // gauge at the start of its range.
    void ouvre(const QString &titre, int minimum = 0, int maximum = 100);
    // Moves the gauge and paints it at once; values beyond the range show an
    // empty or a full bar.
    void avance(int valeur);
    void ferme();

    // Closes the window when it goes out of scope, so that a task that stops on an
    // error never leaves the gauge on top of the screen.
    class Ouverte {
    public:
        Ouverte(Tjauge &jauge, const QString &titre, int minimum = 0, int maximum = 100);
        ~Ouverte();
        Ouverte(const Ouverte &) = delete;
        Ouverte &operator=(const Ouverte &) = delete;

    private:
        Tjauge &jauge_;
    };
};
