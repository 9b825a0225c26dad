#include "chemins.h"

#include "cp1252.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Index just after the last character of `chemin` that `coupe` accepts, 0 when none does.
template <typename Coupe>
qsizetype apres_dernier(const QString &chemin, qsizetype depuis, Coupe coupe)
{
    for (qsizetype i = depuis; i >= 0; --i)
        if (coupe(chemin[i]))
            return i + 1;
    return 0;
}

bool tient_dans_un_champ(const QString &texte)
{
    const auto octets = vers_cp1252(texte);
    return octets && octets->size() <= 80;
}

}  // namespace

bool est_separateur(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

QString extrait_fichier(const QString &chemin)
{
    if (chemin.isEmpty())
        return QStringLiteral("Pas de photo");
    // A separator in last place is kept in the name, as the editor always showed it.
    return chemin.mid(apres_dernier(chemin, chemin.size() - 2, [](QChar c) {
        return est_separateur(c) || c == QLatin1Char(' ');
    }));
}

QString nom_seul(const QString &chemin)
{
    return chemin.mid(apres_dernier(chemin, chemin.size() - 1, est_separateur));
}

QString nom_sans_lecteur(const QString &chemin)
{
    return chemin.mid(apres_dernier(chemin, chemin.size() - 1, [](QChar c) {
        return est_separateur(c) || c == QLatin1Char(':');
    }));
}

QString nom_de_base_converti(const QString &chemin)
{
    return nom_seul(chemin).section(QLatin1Char('.'), 0, 0).toUpper().left(13);
}

bool fichier_present(const QString &nom)
{
    if (nom.isEmpty())
        return true;
    return QFileInfo::exists(nom);
}

std::optional<QString> chemin_a_stocker(const QString &chemin, const QString &dossier)
{
    if (tient_dans_un_champ(chemin))
        return chemin;
    if (dossier.isEmpty())
        return std::nullopt;
    const QString relatif = QDir(dossier).relativeFilePath(chemin);
    if (tient_dans_un_champ(relatif))
        return relatif;
    return std::nullopt;
}

QString chemin_relocalise(const QString &dossier, const QString &chemin)
{
    const QString nom = nom_seul(chemin);
    if (tient_dans_un_champ(dossier + nom))
        return dossier + nom;
    if (tient_dans_un_champ(nom))
        return nom;
    return {};
}
