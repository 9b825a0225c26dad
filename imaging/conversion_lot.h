// A batch of picture conversions run on several threads, whose results reach the
// caller one by one in the batch's own order, on the caller's thread, so that
// messages come in that order and the window stays responsive meanwhile.
#pragma once

#include "imagefile.h"

#include <QImage>
#include <QObject>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>

struct ConversionFichier {
    QString source;
    QString cible;
};

struct ReglagesConversion {
    int profondeur_lecture = 24;
    bool tramage = true;
    sky::Format format = sky::Format::Jpeg;
    int profondeur_ecriture = 24;
    sky::WriteOptions options;
};

struct IssueConversion {
    int lecture = 0;   // library status of the read (> 0 read)
    int ecriture = 0;  // of the write (0 when not tried)
    QImage image;      // the picture read, for a preview
    bool reussie() const { return lecture > 0 && ecriture > 0; }
    // Stopped on the caller's request: left out, or its file left unwritten.
    bool arretee() const { return lecture == sky::Stopped || ecriture == sky::Stopped; }
};

// Converts each file of `lot` with up to `fils` threads. Where two entries have the
// same target, the later one is written after the earlier one has finished, so the
// result is that of converting them one after the other. `recu` is called on the
// calling thread for entry 0, 1, ... in turn as soon as that entry is done; pending
// window events are processed while waiting. Files are written whole or not at all.
// Once `arret` is set (by a click on `bouton_arret`, the one control that takes the
// user's input meanwhile), the files in progress stop without a file and no other
// starts: `recu` is called no more.
void convertit_lot(const QList<ConversionFichier> &lot, const ReglagesConversion &reglages, int fils,
                   const std::function<void(int indice, const IssueConversion &issue)> &recu,
                   const std::atomic_bool *arret = nullptr, QObject *bouton_arret = nullptr);

// Reports a failed conversion in one box naming the file that failed and why;
// nothing for a conversion stopped on request.
void signale_echec(const ConversionFichier &fichier, const IssueConversion &issue);
