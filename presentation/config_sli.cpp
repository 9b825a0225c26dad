#include "config_sli.h"

#include "erreurs.h"
#include "fichier_type.h"
#include "systeme.h"

#include <QDir>

#include <QtEndian>
#include <cstddef>
#include <cstring>

ReglagesPresentation reglages;

namespace {

#pragma pack(push, 1)
struct FicheConfig {
    char attendre_fin_son;  // 0 off, anything else on
    char reserve[42];
    entier16 mode_defilement;
    entier16 controle;
    entier16 delai;
};
#pragma pack(pop)
static_assert(sizeof(FicheConfig) == 49 && offsetof(FicheConfig, mode_defilement) == 43);

FichierType fichier(int(sizeof(FicheConfig)));
FicheConfig tampon;  // keeps the reserved bytes as read
QString dossier;

void vers_tampon()
{
    tampon.mode_defilement = reglages.mode_defilement;
    tampon.controle = reglages.controle;
    tampon.delai = reglages.delai;
    // The byte as read while it says the same, so that a file stored unchanged stays as it was.
    if ((tampon.attendre_fin_son != 0) != reglages.attendre_fin_son)
        tampon.attendre_fin_son = reglages.attendre_fin_son ? 1 : 0;
}

}  // namespace

void fixe_dossier_config(const QString &dossier_depart) { dossier = dossier_depart; }

QString chemin_config() { return dossier + QStringLiteral("SLI.CFG"); }

void ouvre_config()
{
    if (fichier.ouvre(chemin_config()))
        return;
    fichier.cree(chemin_config());
    std::memset(&tampon, 0, sizeof tampon);
    reglages = ReglagesPresentation{};
    vers_tampon();
    fichier.positionne(0);
    fichier.ecrit(&tampon);
}

void charge_config()
{
    fichier.positionne(0);
    fichier.lit(&tampon);
    reglages.mode_defilement = tampon.mode_defilement;
    reglages.controle = tampon.controle;
    reglages.delai = tampon.delai;
    reglages.attendre_fin_son = tampon.attendre_fin_son != 0;
}

void stocke_config()
{
    vers_tampon();
    fichier.positionne(0);
    fichier.ecrit(&tampon);
}

void ferme_config() { fichier.ferme(); }

namespace {
// SLI.CFG open for the scope, closed however it ends (a short file raises on reading).
struct ConfigOuverte {
    ConfigOuverte() { ouvre_config(); }
    ~ConfigOuverte() { ferme_config(); }
    ConfigOuverte(const ConfigOuverte &) = delete;
    ConfigOuverte &operator=(const ConfigOuverte &) = delete;
};
}  // namespace

void lit_config()
{
    const ConfigOuverte ouverte;
    try {
        charge_config();
        return;
    } catch (const erreurs::ErreurES &erreur) {
        // A damaged file must not keep the show from starting: it is mended with the defaults.
        systeme::boite(systeme::TypeBoite::Erreur,
                       QStringLiteral("Le fichier de réglages \"%1\" est endommagé (%2) :\n"
                                      "les réglages par défaut sont utilisés.")
                           .arg(QDir::toNativeSeparators(chemin_config()), erreur.texte()));
    }
    std::memset(&tampon, 0, sizeof tampon);
    reglages = ReglagesPresentation{};
    stocke_config();
}

void sauve_config()
{
    const ConfigOuverte ouverte;
    stocke_config();
}
