#include "fichier_sli.h"

#include "chemins.h"
#include "cp1252.h"
#include "couleurs.h"
#include "erreurs.h"
#include "systeme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <cerrno>
#include <cstring>

FicheDiapo fiche;

namespace {

FichierType fichier(TAILLE_FICHE);
QString chemin_ouvert;
bool lecture_seule = false;

}  // namespace

template <int Capacite>
QString ChaineCourte<Capacite>::valeur() const
{
    return depuis_cp1252(octets, std::min<int>(longueur, Capacite));
}

template <int Capacite>
bool ChaineCourte<Capacite>::affecte(const QString &texte)
{
    const auto encode = vers_cp1252(texte);
    if (!encode)
        return false;
    const int taille = std::min<int>(int(encode->size()), Capacite);
    std::memcpy(octets, encode->constData(), size_t(taille));
    longueur = quint8(taille);
    return true;
}

template <int Capacite>
int ChaineCourte<Capacite>::taille_encodee(const QString &texte)
{
    const auto encode = vers_cp1252(texte);
    return encode ? int(encode->size()) : -1;
}

template struct ChaineCourte<40>;
template struct ChaineCourte<80>;
template struct ChaineCourte<255>;

bool fichier_sli_ouvert() { return fichier.ouvert(); }

bool fichier_sli_en_lecture_seule() { return fichier.ouvert() && lecture_seule; }

bool nom_de_diaporama(const QString &chemin)
{
    return chemin.endsWith(QStringLiteral(".sli"), Qt::CaseInsensitive);
}

bool debut_de_diaporama(const QByteArray &debut)
{
    if (debut.isEmpty())
        return true;
    if (debut.size() < TAILLE_FICHE)
        return false;
    FicheDiapo reglages;
    std::memcpy(&reglages, debut.constData(), TAILLE_FICHE);
    // A length byte may not exceed its field's capacity (those of 255 cannot).
    return reglages.chemin_image.longueur <= 80 && reglages.chemin_son.longueur <= 80 &&
           reglages.police.longueur <= 40;
}

namespace {

[[noreturn]] void refuse_pas_un_diaporama(const QString &chemin)
{
    throw erreurs::ErreurES(erreurs::AccesRefuse,
                            QStringLiteral("« %1 » n'est pas un diaporama.").arg(QDir::toNativeSeparators(chemin)));
}

QByteArray debut_du_fichier(const QString &chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(TAILLE_FICHE);
}

}  // namespace

void ouvre_fichier_sli(const QString &chemin)
{
    const QFileInfo info(chemin);
    if (!nom_de_diaporama(chemin) || (info.exists() && !info.isFile()))
        refuse_pas_un_diaporama(chemin);
    if (!info.exists()) {
        fichier.cree(chemin);
        lecture_seule = false;
        chemin_ouvert = chemin;
        nouvelle_fiche();
        ecrit_fiche(0);
        return;
    }
    if (!debut_de_diaporama(debut_du_fichier(chemin)))
        refuse_pas_un_diaporama(chemin);
    lecture_seule = !fichier.ouvre(chemin);
    if (lecture_seule && !fichier.ouvre(chemin, true))
        erreurs::leve_errno(errno ? errno : EIO);
    chemin_ouvert = chemin;
    if (fichier.nombre() == 0 && !lecture_seule) {
        nouvelle_fiche();
        ecrit_fiche(0);
    }
}

void ferme_fichier_sli()
{
    fichier.ferme();
    chemin_ouvert.clear();
    lecture_seule = false;
}

QString dossier_fichier_sli()
{
    if (chemin_ouvert.isEmpty())
        return {};
    return QFileInfo(chemin_ouvert).absolutePath() + QLatin1Char('/');
}

QString chemin_de_fiche(const QString &stocke)
{
    if (stocke.isEmpty() || QDir::isAbsolutePath(stocke) || dossier_fichier_sli().isEmpty())
        return stocke;
    const QString dans_le_dossier = dossier_fichier_sli() + stocke;
    return QFileInfo::exists(dans_le_dossier) ? dans_le_dossier : stocke;
}

namespace {

// Every whole record of the file, in order.
QList<FicheDiapo> toutes_les_fiches()
{
    const QByteArray octets = fichier.toutes();
    QList<FicheDiapo> fiches(octets.size() / TAILLE_FICHE);
    std::memcpy(static_cast<void *>(fiches.data()), octets.constData(), size_t(octets.size()));
    return fiches;
}

// Writes `fiches` as the whole file, atomically, and reopens it.
void reecrit(const QList<FicheDiapo> &fiches)
{
    QByteArray contenu(qsizetype(fiches.size()) * TAILLE_FICHE, Qt::Uninitialized);
    for (qsizetype k = 0; k < fiches.size(); ++k)
        std::memcpy(contenu.data() + k * TAILLE_FICHE, &fiches[k], TAILLE_FICHE);
    remplace_fichier(chemin_ouvert, contenu);
    if (!fichier.ouvre(chemin_ouvert))
        erreurs::leve_errno(errno ? errno : EIO);
}

}  // namespace

void deplace_diapo(int depuis, int vers)
{
    QList<FicheDiapo> fiches = toutes_les_fiches();
    fiches.move(depuis, vers);
    reecrit(fiches);
}

int nombre_fiches() { return int(fichier.nombre()); }

void lit_fiche(int indice)
{
    fichier.positionne(indice);
    fichier.lit(&fiche);
}

FicheDiapo copie_fiche(int indice)
{
    FicheDiapo lue;
    fichier.positionne(indice);
    fichier.lit(&lue);
    return lue;
}

void ecrit_fiche(int indice) { ecrit_fiche(indice, fiche); }

void ecrit_fiche(int indice, const FicheDiapo &ecrite)
{
    fichier.positionne(indice);
    fichier.ecrit(&ecrite);
}

FicheDiapo fiche_nouvelle()
{
    FicheDiapo nouvelle = fiche;
    nouvelle.chemin_image.vide();
    nouvelle.commentaire.vide();
    nouvelle.reserve1.vide();
    nouvelle.reserve2.vide();
    nouvelle.chemin_son.vide();
    if (fichier.ouvert() && fichier.nombre() > 0) {
        const FicheDiapo reglages = copie_fiche(0);
        nouvelle.couleur_texte = reglages.couleur_texte;
        nouvelle.taille_texte = reglages.taille_texte;
        nouvelle.style_texte = reglages.style_texte;
        nouvelle.police = reglages.police;
        nouvelle.police.longueur = std::min<quint8>(nouvelle.police.longueur, 40);
        nouvelle.couleur_fond = reglages.couleur_fond;
        nouvelle.fond_transparent = reglages.fond_transparent;
        nouvelle.position_texte = reglages.position_texte;
    } else {
        nouvelle.couleur_texte = 0;
        nouvelle.taille_texte = 10;
        nouvelle.style_texte = 1;
        nouvelle.police.affecte(QStringLiteral("System"));
        nouvelle.couleur_fond = clActiveCaption;
        nouvelle.fond_transparent = 0;
        nouvelle.position_texte = 1;
        nouvelle.toutes_diapos = 0;
    }
    return nouvelle;
}

void nouvelle_fiche() { fiche = fiche_nouvelle(); }

int ajoute_fiche(const FicheDiapo &nouvelle)
{
    const int indice = nombre_fiches();
    fichier.positionne(indice);
    try {
        fichier.ecrit(&nouvelle);
    } catch (const erreurs::ErreurES &) {
        fichier.positionne(indice);
        fichier.tronque();
        throw;
    }
    return indice;
}

int ajoute_fiche()
{
    const int indice = nombre_fiches();
    nouvelle_fiche();
    ecrit_fiche(indice);
    return indice;
}

void insere_fiche(int indice, const FicheDiapo &nouvelle)
{
    QList<FicheDiapo> fiches = toutes_les_fiches();
    fiches.insert(indice, nouvelle);
    reecrit(fiches);
}

void insere_fiche(int indice)
{
    const FicheDiapo nouvelle = fiche_nouvelle();
    insere_fiche(indice, nouvelle);
    fiche = nouvelle;
}

void supprime_diapo(int indice)
{
    QList<FicheDiapo> fiches = toutes_les_fiches();
    fiches.removeAt(indice);
    reecrit(fiches);
}

int style_vers_code(int styles)
{
    switch (styles) {
    case 0: return 1;
    case Gras: return 2;
    case Italique: return 3;
    case Gras | Italique: return 4;
    default: return 1;
    }
}

int code_vers_style(double code)
{
    switch (int(code)) {
    case 2: return Gras;
    case 3: return Italique;
    case 4: return Gras | Italique;
    default: return 0;
    }
}

bool stocke_chemin(ChaineCourte<80> &champ, const QString &chemin)
{
    const std::optional<QString> stocke = chemin_a_stocker(chemin, dossier_fichier_sli());
    if (!stocke || !champ.affecte(*stocke)) {
        const QString raison =
            !vers_cp1252(chemin)
                ? QStringLiteral("Ce nom contient un caractère que le fichier du diaporama ne peut pas "
                                 "enregistrer. Renommez le fichier ou son dossier.")
                : QStringLiteral("Ce chemin ne peut pas être enregistré dans le diaporama "
                                 "(80 caractères au plus, même relatif au dossier du diaporama). "
                                 "Rangez vos images et vos sons près du diaporama.");
        systeme::boite(systeme::TypeBoite::Erreur, QStringLiteral("\"%1\"\n").arg(chemin) + raison);
        return false;
    }
    return true;
}
