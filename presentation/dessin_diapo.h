// What the full-screen show draws for one slide, without a widget: the picture
// (already fitted to the screen) centred on black, or a scrolling message on its
// background, why the picture is missing, and the caption across the width at
// the top or the bottom, on a strip of its colour or transparent. The player
// takes its caption's look from here; the video export draws its frames here.
#pragma once

#include "fichier_sli.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class ScrollingMessage;

struct Legende {
    QString texte;
    QFont police;
    QColor couleur_texte;
    QColor couleur_fond;
    bool transparente = true;
    bool en_haut = false;
};

// The caption of `diapo`: its comment, in its own attributes or in those of the
// settings record `defauts` when they are set for every slide.
Legende legende_de(const FicheDiapo &diapo, const FicheDiapo &defauts);

// The caption's strip on a screen of `ecran`: the whole width, as high as its
// wrapped text (one line when it is empty), at the top or the bottom.
QRect place_legende(const Legende &legende, QSize ecran);

// Where the reason for a missing picture is written, centred.
QRect zone_message_image(QSize ecran);

struct ContenuDiapo {
    QImage image;                               // fitted to the screen; null: none
    const ScrollingMessage *message = nullptr;  // playing: drawn instead of the picture
    QString echec;                              // why the picture is not shown, or empty
    QFont police_echec;
    Legende legende;
};

void dessine_diapo(QPainter &peintre, QSize ecran, const ContenuDiapo &contenu);
QImage dessine_diapo(QSize ecran, const ContenuDiapo &contenu);
