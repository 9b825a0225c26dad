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

// Replaces the file `chemin` by `contenu` through a temporary file of the same
// folder, renamed over it only once wholly written: on any failure (raised as
// the run-time error) the file is left exactly as it was and no temporary remains.
void remplace_fichier(const QString &chemin, const QByteArray &contenu);

class FichierType {
public:
    explicit FichierType(int taille_fiche);
    ~FichierType();
    FichierType(const FichierType &) = delete;
    FichierType &operator=(const FichierType &) = delete;

    // Opens an existing file for reading and writing; false (nothing raised) when it cannot.
    bool ouvre(const QString &chemin);
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
    // Cuts the file at the current position.
    void tronque();

    int taille_fiche() const { return taille_fiche_; }

private:
    void verifie_ouvert() const;

    int taille_fiche_;
    int descripteur_ = -1;
    qint64 position_ = 0;  // in records
};
