#include "fichier_sli.h"

#include "chemins.h"
#include "cp1252.h"
#include "couleurs.h"
#include "erreurs.h"
#include "systeme.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <cerrno>
#include <cstring>

FicheDiapo fiche;

namespace {

FichierType fichier(TAILLE_FICHE);
QString chemin_ouvert;

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

void ouvre_fichier_sli(const QString &chemin)
{
    if (!fichier.ouvre(chemin)) {
        fichier.cree(chemin);
        nouvelle_fiche();
        ecrit_fiche(0);
    }
    chemin_ouvert = chemin;
}

void ferme_fichier_sli()
{
    fichier.ferme();
    chemin_ouvert.clear();
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

void deplace_diapo(int depuis, int vers)
{
    const int n = nombre_fiches();
    QList<int> ordre;
    for (int k = 1; k < n; ++k)
        ordre.append(k);
    ordre.move(depuis - 1, vers - 1);

    QByteArray contenu(qsizetype(n) * TAILLE_FICHE, Qt::Uninitialized);
    FicheDiapo lue;
    fichier.positionne(0);
    fichier.lit(contenu.data());
    for (int place = 1; place < n; ++place) {
        fichier.positionne(ordre[place - 1]);
        fichier.lit(&lue);
        std::memcpy(contenu.data() + qsizetype(place) * TAILLE_FICHE, &lue, TAILLE_FICHE);
    }

    remplace_fichier(chemin_ouvert, contenu);
    const QString chemin = chemin_ouvert;
    fichier.ferme();
    if (!fichier.ouvre(chemin))
        erreurs::leve_errno(errno ? errno : EIO);
}

int nombre_fiches() { return int(fichier.nombre()); }

void lit_fiche(int indice)
{
    fichier.positionne(indice);
    fichier.lit(&fiche);
}

void ecrit_fiche(int indice)
{
    fichier.positionne(indice);
    fichier.ecrit(&fiche);
}

void nouvelle_fiche()
{
    fiche.chemin_image.vide();
    fiche.commentaire.vide();
    fiche.reserve1.vide();
    fiche.reserve2.vide();
    fiche.chemin_son.vide();
    if (fichier.ouvert() && fichier.nombre() > 0) {
        FicheDiapo reglages;
        fichier.positionne(0);
        fichier.lit(&reglages);
        fiche.couleur_texte = reglages.couleur_texte;
        fiche.taille_texte = reglages.taille_texte;
        fiche.style_texte = reglages.style_texte;
        fiche.police = reglages.police;
        fiche.police.longueur = std::min<quint8>(fiche.police.longueur, 40);
        fiche.couleur_fond = reglages.couleur_fond;
        fiche.fond_transparent = reglages.fond_transparent;
        fiche.position_texte = reglages.position_texte;
    } else {
        fiche.couleur_texte = 0;
        fiche.taille_texte = 10;
        fiche.style_texte = 1;
        fiche.police.affecte(QStringLiteral("System"));
        fiche.couleur_fond = clActiveCaption;
        fiche.fond_transparent = 0;
        fiche.position_texte = 1;
        fiche.toutes_diapos = 0;
    }
}

int ajoute_fiche()
{
    const int indice = nombre_fiches();
    nouvelle_fiche();
    ecrit_fiche(indice);
    return indice;
}

void insere_fiche(int indice)
{
    for (int k = nombre_fiches(); k > indice; --k) {
        lit_fiche(k - 1);
        ecrit_fiche(k);
    }
    nouvelle_fiche();
    ecrit_fiche(indice);
}

void supprime_diapo(int indice)
{
    const int n = nombre_fiches();
    for (int k = indice; k <= n - 2; ++k) {
        lit_fiche(k + 1);
        ecrit_fiche(k);
    }
    fichier.positionne(n - 1);
    fichier.tronque();
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
