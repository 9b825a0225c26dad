#include "attributs_texte.h"

#include "couleurs.h"

#include <QFontInfo>
#include <algorithm>

QFont police_de_fiche(const FicheDiapo &f)
{
    QFont police(f.police.valeur());
    // A damaged record's size is held to what a screen can show (the record keeps it).
    if (f.taille_texte > 0)
        police.setPointSize(std::min<int>(f.taille_texte, TAILLE_TEXTE_MAXIMALE));
    const int styles = code_vers_style(f.style_texte);
    police.setBold(styles & Gras);
    police.setItalic(styles & Italique);
    return police;
}

QFont police_a_choisir(const FicheDiapo &f)
{
    QFont police = police_de_fiche(f);
    police.setFamily(QFontInfo(police).family());
    return police;
}

void police_vers_fiche(const QFont &police, const QColor &couleur, FicheDiapo &f)
{
    f.couleur_texte = depuis_qcolor(couleur);
    int styles = 0;
    if (police.bold())
        styles |= Gras;
    if (police.italic())
        styles |= Italique;
    if (police.underline())
        styles |= Souligne;
    if (police.strikeOut())
        styles |= Barre;
    f.style_texte = qint16(style_vers_code(styles));
    if (police.pointSize() > 0)
        f.taille_texte = qint16(police.pointSize());
    if (police.family() == QFontInfo(QFont(f.police.valeur())).family())
        return;
    // A name Windows-1252 cannot hold leaves the stored one.
    f.police.affecte(police.family().left(40));
}
