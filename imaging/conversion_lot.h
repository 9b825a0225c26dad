// A batch of picture conversions run on several threads, whose results reach the
// caller one by one in the batch's own order, on the caller's thread, so that
// messages come in that order and the window stays responsive meanwhile.
#pragma once

#include "imagefile.h"

#include <QImage>
#include <QList>
#include <QString>
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
};

// Converts each file of `lot` with up to `fils` threads. Where two entries have the
// same target, the later one is written after the earlier one has finished, so the
// result is that of converting them one after the other. `recu` is called on the
// calling thread for entry 0, 1, ... in turn as soon as that entry is done; pending
// window events are processed while waiting. Files are written whole or not at all.
void convertit_lot(const QList<ConversionFichier> &lot, const ReglagesConversion &reglages, int fils,
                   const std::function<void(int indice, const IssueConversion &issue)> &recu);

// Reports a failed conversion as the image control does: the library's error box
// (naming the source when it could not be read), then "Reading jpg file failed"
// or "Writing png file failed". A source not read whole is never written.
void signale_echec(const ConversionFichier &fichier, const ReglagesConversion &reglages,
                   const IssueConversion &issue);
