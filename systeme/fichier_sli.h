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

// True for a name a slideshow may have: one ending in ".sli", in any case.
bool nom_de_diaporama(const QString &chemin);
// True when `debut` (the first bytes of a file) can start a slideshow: a whole
// settings record whose texts fit their fields. An empty file can too.
bool debut_de_diaporama(const QByteArray &debut);

// Opens the slideshow `chemin` for reading and writing, or for reading only when
// the file takes no writes; creates it, holding the settings record with the
// defaults, when it does not exist. An existing file that is not a slideshow (by
// its name or its first record) is refused with "… n'est pas un diaporama" and
// never written; an empty one gets its settings record.
void ouvre_fichier_sli(const QString &chemin);
void ferme_fichier_sli();
bool fichier_sli_ouvert();
// True when the open slideshow could only be opened for reading.
bool fichier_sli_en_lecture_seule();
int nombre_fiches();
void lit_fiche(int indice);
void ecrit_fiche(int indice);
// Writes `ecrite` over record `indice`, the record buffer untouched.
void ecrit_fiche(int indice, const FicheDiapo &ecrite);
// Record `indice` read without touching the record buffer.
FicheDiapo copie_fiche(int indice);
// A new slide: empty texts, display settings from record 0.
FicheDiapo fiche_nouvelle();
// Prepares the buffer for a new slide (fiche_nouvelle()).
void nouvelle_fiche();

// Appends an empty slide; returns its index.
int ajoute_fiche();
// Appends `nouvelle` in one record write; returns its index. A failed write cuts
// the file back to its records, leaving it as it was.
int ajoute_fiche(const FicheDiapo &nouvelle);

// The operations that move records rewrite the whole file through a copy beside
// it (links followed, owner and permissions kept) renamed over it once complete:
// whatever fails or stops the program, the file holds the state before or after,
// and the record buffer is not touched. A folder that takes no new file is said
// so in the raised error.
// Inserts `nouvelle` at `indice`, moving that slide and the following ones up.
void insere_fiche(int indice, const FicheDiapo &nouvelle);
// Inserts an empty slide at `indice` and puts it in the buffer.
void insere_fiche(int indice);
// Removes slide `indice`, moving the following ones down.
void supprime_diapo(int indice);
// Moves slide `depuis` to place `vers` (both 1..N).
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
