// The full-screen player: one slide at a time on a black screen, its comment in
// the picture's caption, its sound played as it comes up. It advances on a timer
// (automatic mode, which P pauses and resumes; a slide's sound may hold it, see
// duree_diapo) or on keys, mouse buttons and the
// arrow pad (manual mode); every move wraps around. A picture that cannot be shown
// stops a manual show on a box; an automatic one shows why on the slide and goes on. It reads the slides through the record buffer and never writes.
#pragma once

#include "anticipation.h"
#include "defilement.h"
#include "fichier_sli.h"

#include <QDialog>
#include <QElapsedTimer>
#include <memory>

class AnimationIdle;
class Mpris;
class QFrame;
class QLabel;
class QTimer;
class QToolButton;
class TPMultiImage;

class Tlance_diaporama : public QDialog {
    Q_OBJECT
public:
    explicit Tlance_diaporama(QWidget *parent = nullptr);
    ~Tlance_diaporama() override;

    TPMultiImage *diapositive;
    QFrame *pave;
    QToolButton *sortir;
    QToolButton *lg;
    QToolButton *g;
    QToolButton *d;
    QToolButton *ld;
    QTimer *Timer1;
    // Why the slide's picture is not shown, over the slide, in an automatic show.
    QLabel *message_image;

    // Set by the launch command before each show; cleared once the show has started.
    bool premiere_activation = false;
    // P pressed in an automatic show: the timer waits for the next P.
    bool en_pause = false;
    // The record number of the slide on screen.
    int diapo_courante = 1;
    // A copy of record 0, read at the start of each show.
    FicheDiapo defauts{};

    // Starts the show when the first-activation flag is set.
    void FormActivate();
    void affiche_diapositive();
    void deplace(Mouvement mouvement);
    void Timer1Timer();
    // End of the show: the timer stops and the window closes.
    void sortirClick();
    // P: pauses or resumes an automatic show.
    void bascule_pause();
    // How long the slide on screen still stays in an automatic show, in milliseconds.
    int duree_restante() const;
    // How long the slide on screen has been up, in milliseconds.
    qint64 duree_affichee() const { return debut_diapo.elapsed(); }
    // The pictures read ahead (a test waits on them).
    LectureAnticipee &lecture_anticipee() { return lecture; }

signals:
    // A slide came up, or the show was paused or resumed.
    void etat_change();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    void diapositive_MouseDown(QMouseEvent *event);
    // Shows the picture of `chemin`, from its reading ahead when that is ready;
    // the reason when it cannot be read, else empty.
    QString montre_image(const QString &chemin);
    // The picture's failure: a box in a manual show, a message on the slide in an automatic one.
    void signale_image(const QString &message);
    // The window's size in device pixels, to which pictures are fitted.
    QSize ecran() const;
    // Starts reading the pictures of the slides one move away.
    void anticipe();
    int profondeur() const;
    // The pad's top-left corner follows the pointer while it is dragged by its frame.
    bool glisse_pave = false;
    bool economiseur_suspendu = false;
    // The length of the slide's sound (0: none, or one that cannot be played) and
    // when the slide came up, for a show that waits for the end of the sounds.
    int duree_son = 0;
    QElapsedTimer debut_diapo;
    // The show offered to the desktop's media controls while it runs.
    std::unique_ptr<Mpris> mpris;

    AnimationIdle *animation;
    LectureAnticipee lecture;
};
