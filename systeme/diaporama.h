// The slideshow being edited: its file, its name, the slide on display (held in
// the record buffer `fiche`) and every operation on them. Each operation leaves
// the file and the buffer consistent: a failed one (raised as the run-time error)
// leaves the buffer holding the slide on display, so nothing is saved over it.
// Windows follow the one signal `change` instead of keeping the state in step.
#pragma once

#include "fichier_sli.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class Diaporama : public QObject {
    Q_OBJECT

public:
    // What a change touched, combinable.
    enum Changement : int {
        Fichier = 1,   // opened, closed, or its mode changed
        Liste = 2,     // slides added, removed, moved, or a picture changed
        Affichee = 4,  // another slide on display, or its picture changed
        Champs = 8,    // the sound or caption of the slide on display changed
    };

    // The program's one slideshow (the record buffer is one too).
    static Diaporama &courant();

    bool ouvert() const { return !nom_.isEmpty(); }
    QString nom() const { return nom_; }
    // Opened for showing only: nothing is written.
    bool lecture_seule() const { return ouvert() && lecture_seule_; }
    // Slides, record 0 aside; 0 when none is open.
    int nombre() const;
    // The slide on display: 1..N; -1 for an open slideshow without slides; -2 when none is open.
    int courante() const { return ouvert() ? courante_ : -2; }

    // Opens or creates `chemin`. A slideshow another program holds open is offered
    // read-only ("Ce diaporama est déjà ouvert par un autre programme"); false when
    // the user declines, the open one staying open. Raises when the file cannot be
    // opened, leaving no slideshow open.
    bool ouvre(const QString &chemin);
    // Writes the slide on display and closes.
    void ferme();
    // Closes without writing anything: what is left after an error, or at a test's end.
    void oublie();

    // Writes the record buffer over the slide on display (not in read-only mode).
    void enregistre();

    // Navigation; each writes the slide on display first.
    void va_a(int diapo);
    void premiere() { va_a(1); }
    // False, nothing moved, at the first (last) slide.
    bool precedente();
    bool suivante();
    void derniere() { va_a(nombre()); }

    // Editing; each writes the slide on display first.
    void ajoute();
    void insere();
    void supprime();
    // Moves the slide on display to place `vers`, which it keeps on display.
    void deplace(int vers);

    // The slide on display's picture and sound, kept in the form chemin_a_stocker
    // gives; false, with a box, when the path cannot be stored.
    bool fixe_image(const QString &chemin);
    void efface_image();
    bool fixe_son(const QString &chemin);
    void efface_son();
    // Held in the buffer, written when the slide is left.
    void fixe_commentaire(const QString &texte);
    // The caption attributes the buffer now holds (the display options) are written.
    void attributs_changes();

    // Moves every picture and sound path into `dossier` (the sample's rule,
    // chemin_relocalise); false when one could not be stored there and kept its value.
    bool relocalise(const QString &dossier);

    // Record `indice` (0: the settings record) without touching the buffer.
    FicheDiapo diapo(int indice) const;

signals:
    void change(int quoi);

private:
    void signale(int quoi) { emit change(quoi); }
    bool verrouille(const QString &chemin);

    QString nom_;
    int courante_ = -2;
    bool lecture_seule_ = false;
    std::unique_ptr<QLockFile> verrou_;
};

// Lends the record buffer to a window that works on another record (the general
// display options on the settings record); the slide on display is written first
// and the buffer gets it back on every path.
class EmpruntFiche {
public:
    EmpruntFiche();
    ~EmpruntFiche();
    EmpruntFiche(const EmpruntFiche &) = delete;
    EmpruntFiche &operator=(const EmpruntFiche &) = delete;

    // Reads record `indice` into the buffer.
    FicheDiapo &lit(int indice);
    // Writes the buffer over record `indice` (not in read-only mode).
    void ecrit(int indice);

private:
    FicheDiapo rendue_;
};
