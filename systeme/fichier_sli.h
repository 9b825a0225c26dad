// The slideshow file: flat 987-byte records, record 0 the settings record,
// records 1..N the slides. Every read and write passes through the one record
// buffer `fiche`, shared by every window; the file stays open while edited.
#pragma once

#include "fichier_type.h"

#include <QString>
#include <QtEndian>
#include <cstddef>

// A length byte followed by `Capacite` bytes of Windows-1252 text.
template <int Capacite>
struct ChaineCourte {
    quint8 longueur;
    char octets[Capacite];

    // The stored text; a length byte beyond the capacity (a damaged file) reads as the capacity.
    QString valeur() const;
    // Stores `texte` cut to the capacity. False, and nothing changed, when the
    // text has a character that Windows-1252 cannot hold.
    bool affecte(const QString &texte);
    void vide() { longueur = 0; }
    bool est_vide() const { return longueur == 0; }
    // Number of bytes the text takes in Windows-1252, or -1 when it cannot be encoded.
    static int taille_encodee(const QString &texte);
};

#pragma pack(push, 1)
struct FicheDiapo {
    ChaineCourte<80> chemin_image;
    ChaineCourte<255> commentaire;
    ChaineCourte<255> reserve1;
    ChaineCourte<255> reserve2;
    ChaineCourte<80> chemin_son;
    entier32 couleur_texte;
    entier16 style_texte;
    entier16 taille_texte;
    ChaineCourte<40> police;
    entier32 couleur_fond;
    quint8 fond_transparent;
    entier16 position_texte;
    quint8 toutes_diapos;
};
#pragma pack(pop)

static_assert(sizeof(FicheDiapo) == 987, "a slide record is 987 bytes");
static_assert(offsetof(FicheDiapo, commentaire) == 81);
static_assert(offsetof(FicheDiapo, chemin_son) == 849);
static_assert(offsetof(FicheDiapo, couleur_texte) == 930);
static_assert(offsetof(FicheDiapo, police) == 938);
static_assert(offsetof(FicheDiapo, couleur_fond) == 979);
static_assert(offsetof(FicheDiapo, position_texte) == 984);
static_assert(offsetof(FicheDiapo, toutes_diapos) == 986);

constexpr int TAILLE_FICHE = int(sizeof(FicheDiapo));

// The record buffer.
extern FicheDiapo fiche;

// Opens `chemin` for reading and writing; when it cannot be opened, creates it
// (emptying a file of that name) holding the settings record with the defaults.
void ouvre_fichier_sli(const QString &chemin);
void ferme_fichier_sli();
bool fichier_sli_ouvert();
int nombre_fiches();
void lit_fiche(int indice);
void ecrit_fiche(int indice);
// Prepares the buffer for a new slide: empty texts, display settings from record 0.
void nouvelle_fiche();

// Appends an empty slide; returns its index.
int ajoute_fiche();
// Inserts an empty slide at `indice`, moving that slide and the following ones up.
void insere_fiche(int indice);
// Removes slide `indice`, moving the following ones down and cutting the file.
void supprime_diapo(int indice);

// Moves slide `depuis` to place `vers` (both 1..N). The file is rewritten through a
// copy that replaces it only once complete: a failure leaves it exactly as it was.
void deplace_diapo(int depuis, int vers);

// The folder of the open slideshow, with its final "/"; empty when none is open.
QString dossier_fichier_sli();
// A stored picture or sound path as a file name: a relative path is read from the
// slideshow's folder when it names a file there, else from the current folder.
QString chemin_de_fiche(const QString &stocke);
// Stores a chosen picture or sound path in `champ` in the form chemin_a_stocker
// gives; when it cannot be stored, says so in an error box and leaves `champ` as it was.
bool stocke_chemin(ChaineCourte<80> &champ, const QString &chemin);

// Font style set: bold, italic, underline, strike-out.
enum StylePolice : int { Gras = 1, Italique = 2, Souligne = 4, Barre = 8 };
// 1 regular, 2 bold, 3 italic, 4 bold italic; any other set is 1.
int style_vers_code(int styles);
// The style set of a code (its fraction dropped); a code outside 1..4 is regular.
int code_vers_style(double code);
