// TPOUBELLE: the trash can of the main window. A left click arms it, a second
// left click disarms it, a right click while armed confirms: the can burns for
// 13 ticks of 80 ms, plays its sounds from the sound folder and emits
// suppression_demandee().
#pragma once

#include "etat_poubelle.h"

#include <QLabel>

class QTimer;

class TPOUBELLE : public QLabel {
    Q_OBJECT

public:
    explicit TPOUBELLE(QWidget *parent = nullptr);

    // Full while a slide is on display.
    void fixe_etat(bool plein);
    void clic(Qt::MouseButton bouton);
    // Folder prefix of "alumette.wav", "stop.wav" and "feu.wav" (ends with a separator).
    void fixe_dossier_sons(const QString &dossier) { dossier_sons_ = dossier; }

    const EtatPoubelle &etat() const { return etat_; }
    // One tick of the burning animation (the timer's handler).
    void animationTimer();

signals:
    // The user confirmed the removal of the slide on display.
    void suppression_demandee();

protected:
    void mouseReleaseEvent(QMouseEvent *evenement) override;

private:
    void montre_image();
    void montre_etat();

    EtatPoubelle etat_;
    QString dossier_sons_;
    QTimer *animation_;
};
