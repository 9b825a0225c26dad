// The progress routine called by the imaging library during reads, writes and
// scans: it keeps the windows alive and moves the gauge of the window at work.
#pragma once

#include <QList>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>

// Guarded pointers: a window destroyed with its gauge drops out of the registry.
struct JaugeFenetre {
    QPointer<QWidget> fenetre;
    QPointer<QProgressBar> jauge;
    // While this window is visible the main window's own gauge is left alone.
    bool masque_jauge_principale;
};

// The main window's gauge, and the gauges of the tool windows that report progress.
void fixe_jauge_principale(QWidget *fenetre, QProgressBar *jauge);
void ajoute_jauge(const JaugeFenetre &jauge);
void retire_jauges();

// Set when the program is ending: every operation in progress is then stopped.
void fixe_fin_application(bool fin);

// Swallows the user's input while an operation lets the windows repaint, so that
// no command runs in the middle of the operation; a close asked from the window
// system waits too.
class RetenueEntrees : public QObject {
public:
    // `permis`, when given, still takes the input aimed at it (a Stop button).
    explicit RetenueEntrees(QObject *permis = nullptr);
    ~RetenueEntrees() override;
    RetenueEntrees(const RetenueEntrees &) = delete;
    RetenueEntrees &operator=(const RetenueEntrees &) = delete;

protected:
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    QObject *permis_;
};

// Returns 1 to go on, 0 to stop the operation.
int progression(int pourcentage);
