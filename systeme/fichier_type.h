// A file of fixed-size records, addressed by index. Every failure after the
// open raises the run-time input/output error (erreurs::ErreurES).
#pragma once

#include <QString>
#include <QtGlobal>

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
