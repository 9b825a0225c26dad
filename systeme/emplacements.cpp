#include "emplacements.h"

#include "chemins.h"
#include "fichier_sli.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>

namespace emplacements {

namespace {

QString avec_separateur(const QString &dossier)
{
    return dossier.endsWith(QLatin1Char('/')) ? dossier : dossier + QLatin1Char('/');
}

QString sous_dossier_fait(QStandardPaths::StandardLocation base, const QString &nom)
{
    const QString dossier = avec_separateur(QStandardPaths::writableLocation(base)) + nom;
    QDir().mkpath(dossier);
    return avec_separateur(dossier);
}

// The names of the pictures and sounds the slides of `diaporama` refer to.
QStringList fichiers_des_diapositives(const QString &diaporama)
{
    QFile fichier(diaporama);
    QStringList noms;
    if (!fichier.open(QIODevice::ReadOnly))
        return noms;
    fichier.seek(TAILLE_FICHE);  // record 0 holds the settings
    FicheDiapo diapo;
    while (fichier.read(reinterpret_cast<char *>(&diapo), TAILLE_FICHE) == TAILLE_FICHE) {
        for (const auto *champ : {&diapo.chemin_image, &diapo.chemin_son})
            if (!champ->est_vide())
                noms << nom_seul(champ->valeur());
    }
    noms.removeDuplicates();
    return noms;
}

// A file already there is the user's and stays as it is.
bool copie_modifiable(const QString &depuis, const QString &vers)
{
    if (QFileInfo::exists(vers))
        return true;
    return QFile::copy(depuis, vers) &&
           QFile::setPermissions(vers, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

}  // namespace

QString choisit_ressources(const QString &dossier_programme, const QString &dossier_sources)
{
    const QString installe = QDir::cleanPath(dossier_programme + QStringLiteral("/../share/vistarama"));
    return avec_separateur(QFileInfo(installe).isDir() ? installe : dossier_sources);
}

QString dossier_ressources()
{
    return choisit_ressources(QCoreApplication::applicationDirPath(), QStringLiteral(VISTA_SOURCES_RESSOURCES));
}

QString dossier_config() { return sous_dossier_fait(QStandardPaths::GenericConfigLocation, QStringLiteral("vistarama")); }

QString dossier_depart()
{
    const QString images = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return avec_separateur(QFileInfo(images).isDir() ? images : QDir::homePath());
}

QString dossier_exemple()
{
    return avec_separateur(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("vistarama/exemple/");
}

bool copie_exemple(const QString &source, const QString &cible)
{
    if (QFileInfo::exists(cible + NOM_EXEMPLE))
        return true;
    if (!QDir().mkpath(cible))
        return false;
    bool complet = true;
    for (const QString &nom : fichiers_des_diapositives(source + NOM_EXEMPLE))
        if (QFileInfo::exists(source + nom))
            complet = copie_modifiable(source + nom, cible + nom) && complet;
    return complet && copie_modifiable(source + NOM_EXEMPLE, cible + NOM_EXEMPLE);
}

}  // namespace emplacements
