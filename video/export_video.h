// The slideshow written as a video, as the automatic show plays it: each slide's
// frame drawn as the player draws it, its sound on the sound track from its
// start. The file appears whole under its name at the end, or not at all.
#pragma once

#include "fichier_sli.h"

#include <QFont>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

struct DiapoAExporter {
    FicheDiapo fiche{};
    QString image;  // the picture's and the sound's file names, empty for none
    QString son;
};

// The open slideshow's slides with their files found as the player finds them
// (on the thread that opened it: the record file is not shared).
QList<DiapoAExporter> diapos_du_diaporama();

struct ReglagesExport {
    QSize taille{1920, 1080};
    int images_par_seconde = 25;
    int delai = 10;  // seconds per slide
    bool attendre_fin_son = false;
    // The text of a picture that cannot be shown, as the player writes it.
    QFont police_echec;
};

struct IssueExport {
    QString erreur;        // why the file could not be written; empty when it was
    bool arretee = false;  // stopped on request
    // One line for each picture that could not be shown, and each sound that could not be played.
    QStringList absentes;
    double duree = 0;      // seconds of show written
    bool reussie() const { return erreur.isEmpty() && !arretee; }
};

// `avance(faites, total)` is told the frames written so far, from the exporting
// thread; false stops the export.
IssueExport exporte_video(const FicheDiapo &defauts, const QList<DiapoAExporter> &diapos, const QString &sortie,
                          const ReglagesExport &reglages, const std::function<bool(int, int)> &avance = {});
