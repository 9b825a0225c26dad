#include "ligne_de_commande.h"

#include "fichier_sli.h"

#include <QFile>
#include <QFileInfo>

namespace {

LigneDeCommande refus(const QString &message)
{
    return {LigneDeCommande::Action::Refus, {}, message + QStringLiteral("\nEssayez « vistarama --help ».")};
}

// Empty when `nom` may be opened as a slideshow, else why not.
QString refus_du_fichier(const QString &nom, bool presentation)
{
    const QFileInfo fichier(nom);
    if (!nom_de_diaporama(nom))
        return fichier.exists() ? QStringLiteral("« %1 » n'est pas un diaporama (fichier .sli).").arg(nom)
                                : QStringLiteral("« %1 » est introuvable.").arg(nom);
    if (!fichier.exists())
        return presentation ? QStringLiteral("« %1 » est introuvable.").arg(nom) : QString();
    // The rule of opening: the first record's texts fit their fields (a cut last
    // record, left by a stopped program, does not count).
    QFile octets(nom);
    if (!fichier.isFile() || !octets.open(QIODevice::ReadOnly) || !debut_de_diaporama(octets.read(TAILLE_FICHE)))
        return QStringLiteral("« %1 » n'est pas un diaporama.").arg(nom);
    // Record 0 holds the settings: a show needs at least one slide after it.
    if (presentation && fichier.size() < 2 * TAILLE_FICHE)
        return QStringLiteral("« %1 » n'a aucune diapositive à présenter.").arg(nom);
    return {};
}

}  // namespace

LigneDeCommande analyse_ligne_de_commande(const QStringList &arguments)
{
    LigneDeCommande ligne;
    bool options_finies = false;
    bool nom_attendu = false;  // after --diaporama
    QStringList noms;
    for (const QString &argument : arguments) {
        if (options_finies || nom_attendu || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            noms << argument;
            nom_attendu = false;
        } else if (argument == QLatin1String("--")) {
            options_finies = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return {LigneDeCommande::Action::Aide, {}, {}};
        } else if (argument == QLatin1String("--version")) {
            return {LigneDeCommande::Action::Version, {}, {}};
        } else if (argument == QLatin1String("--diaporama") || argument == QLatin1String("--presenter")) {
            ligne.action = LigneDeCommande::Action::Presentation;
            nom_attendu = true;
        } else {
            return refus(QStringLiteral("vistarama : option inconnue : %1").arg(argument));
        }
    }
    const bool presentation = ligne.action == LigneDeCommande::Action::Presentation;
    if (noms.size() > 1)
        return refus(QStringLiteral("vistarama : un seul diaporama à la fois."));
    if (noms.isEmpty()) {
        if (presentation)
            return refus(QStringLiteral("vistarama : --diaporama demande un fichier .sli."));
        return ligne;
    }
    if (const QString raison = refus_du_fichier(noms[0], presentation); !raison.isEmpty())
        return refus(QStringLiteral("vistarama : ") + raison);
    ligne.diaporama = QFileInfo(noms[0]).absoluteFilePath();
    return ligne;
}

QString texte_aide()
{
    return QStringLiteral(
        "Usage : vistarama [FICHIER.sli]\n"
        "        vistarama --diaporama FICHIER.sli\n"
        "\n"
        "Compose et présente des diaporamas de photos.\n"
        "\n"
        "  FICHIER.sli               ouvre ce diaporama ; il est créé s'il n'existe pas\n"
        "  --diaporama FICHIER.sli   présente ce diaporama en plein écran, dans le mode\n"
        "                            enregistré, puis quitte (Échap arrête la présentation)\n"
        "  --presenter FICHIER.sli   comme --diaporama\n"
        "  -h, --help                affiche cette aide\n"
        "  --version                 affiche la version\n"
        "\n"
        "Code de retour : 0 en cas de succès, 2 pour une erreur dans la ligne de commande.\n");
}

QString texte_version() { return QStringLiteral("vistarama " VISTA_VERSION "\n"); }
