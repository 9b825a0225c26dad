// A file of fixed-size records, addressed by index. Every failure after the
// open raises the run-time input/output error (erreurs::ErreurES).
#pragma once

#include <QString>
#include <QtEndian>
#include <QtGlobal>

// A little-endian whole number stored byte by byte, so that it may sit at any
// offset of a packed record (the records' fields are not aligned).
template <typename T>
struct PetitBoutiste {
    unsigned char octets[sizeof(T)];

    operator T() const { return qFromLittleEndian<T>(octets); }
    PetitBoutiste &operator=(T valeur)
    {
        qToLittleEndian<T>(valeur, octets);
        return *this;
    }
};
using entier16 = PetitBoutiste<qint16>;
using entier32 = PetitBoutiste<qint32>;
static_assert(sizeof(entier32) == 4 && alignof(entier32) == 1);

// Replaces the file `chemin` (the target, when it is a symbolic link) by `contenu`
// through a hidden temporary file of the same folder, with the file's permissions
// and owner, renamed over it only once wholly written and synced: on any failure
// (raised as the run-time error; a folder that takes no new file is named) the
// file is left exactly as it was and no temporary remains.
void remplace_fichier(const QString &chemin, const QByteArray &contenu);

class FichierType {
public:
    explicit FichierType(int taille_fiche);
    ~FichierType();
    FichierType(const FichierType &) = delete;
    FichierType &operator=(const FichierType &) = delete;

    // Opens an existing regular file for reading and writing (or reading only);
    // false (nothing raised, errno telling why) when it cannot.
    bool ouvre(const QString &chemin, bool lecture_seule = false);
    // Creates the file, emptying an existing one; raises when it cannot.
    void cree(const QString &chemin);
    void ferme();
    bool ouvert() const { return descripteur_ >= 0; }

    // Whole records in the file; trailing bytes of a partial record do not count.
    qint64 nombre() const;
    void positionne(qint64 indice);
    // Reads one record at the current position; past the last record raises "end of file".
    void lit(void *fiche);
    void ecrit(const void *fiche);
    // Every whole record, in one read.
    QByteArray toutes();
    // Cuts the file at the current position.
    void tronque();

    int taille_fiche() const { return taille_fiche_; }

private:
    void verifie_ouvert() const;

    int taille_fiche_;
    int descripteur_ = -1;
    qint64 position_ = 0;  // in records
};
