#include "etat_poubelle.h"

namespace {

// The animation shows frames 1 to 11, holds frame 11 for one more tick, then
// ends on the empty can.
constexpr int DERNIERE_IMAGE_ANIMEE = 11;
constexpr int TICS_ANIMATION = 13;

}  // namespace

void EtatPoubelle::fixe_plein(bool plein)
{
    plein_ = plein;
    image_ = plein ? image_pleine() : image_vide();
    if (!plein) {
        // An arming made for a slide that is gone must not confirm the next one.
        arme_ = false;
        bulle_ = QStringLiteral("LA POUBELLE EST VIDE");
        curseur_ = CURSEUR_POUBELLE_VIDE;
        return;
    }
    montre_armement();
}

ReactionClic EtatPoubelle::clic(BoutonPoubelle bouton)
{
    ReactionClic reaction;
    if (!plein_)
        return reaction;
    if (bouton == BoutonPoubelle::Gauche) {
        arme_ = !arme_;
        reaction.son = arme_ ? QStringLiteral("alumette.wav") : QStringLiteral("stop.wav");
    } else if (bouton == BoutonPoubelle::Droit && arme_) {
        arme_ = false;
        anime_ = true;
        reaction.son = QStringLiteral("feu.wav");
        reaction.suppression = true;
    }
    montre_armement();
    return reaction;
}

bool EtatPoubelle::tic()
{
    if (!anime_)
        return false;
    ++compteur_;
    if (compteur_ <= DERNIERE_IMAGE_ANIMEE) {
        image_ = image_animation(compteur_);
        return true;
    }
    if (compteur_ < TICS_ANIMATION)
        return false;
    image_ = image_vide();
    anime_ = false;
    compteur_ = 0;
    return true;
}

void EtatPoubelle::montre_armement()
{
    bulle_ = arme_ ? QStringLiteral("Confirmer(Droit) - Annuler(Gauche)")
                   : QStringLiteral("Cliquez pour supprimer");
    curseur_ = arme_ ? CURSEUR_POUBELLE_ARMEE : CURSEUR_POUBELLE_PLEINE;
}
