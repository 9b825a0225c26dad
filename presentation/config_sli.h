// The presentation settings and their file SLI.CFG in the start-up folder:
// 49-byte records, only record 0 used; 43 reserved bytes, then scroll mode,
// control device and slide delay as little-endian 16-bit integers. The first
// reserved byte, zero in older files, says whether a show waits for the end of
// each slide's sound; the others are written back as read.
#pragma once

#include <QString>
#include <QtGlobal>

struct ReglagesPresentation {
    qint16 mode_defilement = 2;  // 1 manual, 2 automatic
    qint16 controle = 1;         // 1 mouse buttons, 2 arrow pad
    qint16 delai = 10;           // seconds, 1..60
    // Automatic mode: a slide with a sound stays until its sound has ended.
    bool attendre_fin_son = false;
};

// The settings in memory for the whole run.
extern ReglagesPresentation reglages;

// Where SLI.CFG lives (the start-up folder with its trailing separator).
void fixe_dossier_config(const QString &dossier_depart);
QString chemin_config();

// Opens SLI.CFG; when it cannot be opened, creates it with the default settings.
void ouvre_config();
void charge_config();
void stocke_config();
void ferme_config();

// open, load, close / open, store, close.
void lit_config();
void sauve_config();
