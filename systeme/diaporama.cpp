#include "diaporama.h"

#include "chemins.h"
#include "erreurs.h"
#include "systeme.h"

#include <QFileInfo>
#include <QLockFile>

Diaporama &Diaporama::courant()
{
    static Diaporama le_diaporama;
    return le_diaporama;
}

int Diaporama::nombre() const { return ouvert() ? std::max(nombre_fiches() - 1, 0) : 0; }

namespace {

// The lock beside the file (beside a link's target, so that every link shares it).
QString chemin_du_verrou(const QString &chemin)
{
    const QFileInfo info(chemin);
    const QFileInfo reel(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath());
    return reel.absolutePath() + QStringLiteral("/.") + reel.fileName() + QStringLiteral(".lock");
}

}  // namespace

bool Diaporama::verrouille(const QString &chemin)
{
    const QString nom_verrou = chemin_du_verrou(chemin);
    if (verrou_ && verrou_->fileName() == nom_verrou)
        return true;
    auto verrou = std::make_unique<QLockFile>(nom_verrou);
    // Held as long as the slideshow is open; a lock left by a program that died is taken over.
    verrou->setStaleLockTime(0);
    const bool pris = verrou->tryLock(0);
    if (!pris && verrou->error() == QLockFile::LockFailedError) {
        const int reponse = systeme::boite(
            systeme::TypeBoite::Confirmation,
            QStringLiteral("Ce diaporama est déjà ouvert par un autre programme.\n"
                           "Voulez-vous l'ouvrir en lecture seule, pour le voir et le présenter sans le modifier ?"),
            systeme::Oui | systeme::Non);
        if (reponse != systeme::Oui)
            return false;
        lecture_seule_ = true;
        verrou.reset();
    } else if (!pris) {
        // A folder that takes no lock file takes no rewritten file either: the
        // slideshow opens, and what cannot be written says so when it is tried.
        verrou.reset();
    }
    verrou_ = std::move(verrou);
    return true;
}

bool Diaporama::ouvre(const QString &chemin)
{
    // A file closed under the document leaves nothing to write.
    if (ouvert() && !fichier_sli_ouvert())
        oublie();
    // The slide on display is written first: should that fail, this slideshow stays open.
    enregistre();
    const bool autre_lecture_seule = lecture_seule_;
    std::unique_ptr<QLockFile> ancien_verrou = std::move(verrou_);
    lecture_seule_ = false;
    if (!verrouille(chemin)) {
        verrou_ = std::move(ancien_verrou);
        lecture_seule_ = autre_lecture_seule;
        return false;
    }
    if (fichier_sli_ouvert())
        ferme_fichier_sli();
    ancien_verrou.reset();
    try {
        ouvre_fichier_sli(chemin);
    } catch (const erreurs::ErreurES &) {
        // No slideshow is left open, from which every command, quitting included, works.
        oublie();
        signale(Fichier | Liste | Affichee);
        throw;
    }
    nom_ = chemin;
    if (fichier_sli_en_lecture_seule() && !lecture_seule_) {
        lecture_seule_ = true;
        systeme::boite(systeme::TypeBoite::Information,
                       QStringLiteral("« %1 » ne peut pas être modifié : il s'ouvre en lecture seule, "
                                      "pour le voir et le présenter.")
                           .arg(QFileInfo(chemin).fileName()));
    }
    courante_ = nombre() >= 1 ? 1 : -1;
    if (courante_ >= 1)
        fiche = copie_fiche(courante_);
    signale(Fichier | Liste | Affichee);
    return true;
}

void Diaporama::oublie()
{
    if (fichier_sli_ouvert())
        ferme_fichier_sli();
    nom_.clear();
    courante_ = -2;
    lecture_seule_ = false;
    verrou_.reset();
}

void Diaporama::ferme()
{
    enregistre();
    oublie();
    signale(Fichier | Liste | Affichee);
}

void Diaporama::enregistre()
{
    if (courante() >= 1 && !lecture_seule())
        ecrit_fiche(courante_);
}

void Diaporama::va_a(int diapo)
{
    enregistre();
    if (diapo < 1 || diapo > nombre())
        return;
    fiche = copie_fiche(diapo);
    courante_ = diapo;
    signale(Affichee);
}

bool Diaporama::precedente()
{
    if (courante() < 2) {
        enregistre();
        return false;
    }
    va_a(courante_ - 1);
    return true;
}

bool Diaporama::suivante()
{
    if (courante() >= nombre()) {
        enregistre();
        return false;
    }
    va_a(courante_ + 1);
    return true;
}

void Diaporama::ajoute()
{
    enregistre();
    if (!ouvert() || lecture_seule_)
        return;
    const FicheDiapo nouvelle = fiche_nouvelle();
    courante_ = ajoute_fiche(nouvelle);
    fiche = nouvelle;
    signale(Fichier | Liste | Affichee);
}

void Diaporama::insere()
{
    enregistre();
    if (courante() < 1 || lecture_seule())
        return;
    const FicheDiapo nouvelle = fiche_nouvelle();
    insere_fiche(courante_, nouvelle);
    fiche = nouvelle;
    signale(Liste | Affichee);
}

void Diaporama::supprime()
{
    if (courante() < 1 || lecture_seule())
        return;
    supprime_diapo(courante_);
    courante_ = std::min(courante_, nombre());
    if (courante_ < 1)
        courante_ = -1;
    else
        fiche = copie_fiche(courante_);
    signale(Fichier | Liste | Affichee);
}

void Diaporama::deplace(int vers)
{
    enregistre();
    if (courante() < 1 || lecture_seule() || vers < 1 || vers > nombre())
        return;
    deplace_diapo(courante_, vers);
    courante_ = vers;
    signale(Liste | Affichee);
}

namespace {

// Changes one field of the slide on display and writes it; on a failed write the
// field gets its value back, so the buffer still holds what the file holds.
template <typename Changement>
bool change_et_enregistre(Diaporama &diaporama, ChaineCourte<80> &champ, Changement &&changement)
{
    if (diaporama.courante() < 1 || diaporama.lecture_seule())
        return false;
    const ChaineCourte<80> avant = champ;
    if (!changement())
        return false;
    try {
        diaporama.enregistre();
    } catch (const erreurs::ErreurES &) {
        champ = avant;
        throw;
    }
    return true;
}

}  // namespace

bool Diaporama::fixe_image(const QString &chemin)
{
    if (!change_et_enregistre(*this, fiche.chemin_image, [&] { return stocke_chemin(fiche.chemin_image, chemin); }))
        return false;
    signale(Liste | Affichee);
    return true;
}

void Diaporama::efface_image()
{
    if (change_et_enregistre(*this, fiche.chemin_image, [&] { fiche.chemin_image.vide(); return true; }))
        signale(Liste | Affichee);
}

bool Diaporama::fixe_son(const QString &chemin)
{
    if (!change_et_enregistre(*this, fiche.chemin_son, [&] { return stocke_chemin(fiche.chemin_son, chemin); }))
        return false;
    signale(Champs);
    return true;
}

void Diaporama::efface_son()
{
    if (change_et_enregistre(*this, fiche.chemin_son, [&] { fiche.chemin_son.vide(); return true; }))
        signale(Champs);
}

void Diaporama::fixe_commentaire(const QString &texte)
{
    if (courante() >= 1 && !lecture_seule())
        fiche.commentaire.affecte(texte.left(255));
}

void Diaporama::attributs_changes()
{
    enregistre();
    signale(Champs);
}

bool Diaporama::relocalise(const QString &dossier)
{
    if (!ouvert() || lecture_seule_)
        return true;
    bool tous = true;
    const auto relocalise_champ = [&](ChaineCourte<80> &champ) {
        if (champ.est_vide())
            return;
        const QString nouveau = chemin_relocalise(dossier, champ.valeur());
        if (nouveau.isEmpty())
            tous = false;
        else
            champ.affecte(nouveau);
    };
    for (int k = 0; k < nombre_fiches(); ++k) {
        FicheDiapo relocalisee = copie_fiche(k);
        relocalise_champ(relocalisee.chemin_image);
        relocalise_champ(relocalisee.chemin_son);
        ecrit_fiche(k, relocalisee);
    }
    if (courante_ >= 1)
        fiche = copie_fiche(courante_);
    signale(Liste | Affichee);
    return tous;
}

FicheDiapo Diaporama::diapo(int indice) const { return copie_fiche(indice); }

EmpruntFiche::EmpruntFiche()
{
    Diaporama::courant().enregistre();
    rendue_ = fiche;
}

EmpruntFiche::~EmpruntFiche() { fiche = rendue_; }

FicheDiapo &EmpruntFiche::lit(int indice)
{
    fiche = copie_fiche(indice);
    return fiche;
}

void EmpruntFiche::ecrit(int indice)
{
    if (!Diaporama::courant().lecture_seule() && !fichier_sli_en_lecture_seule())
        ecrit_fiche(indice);
}
