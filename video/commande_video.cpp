#include "commande_video.h"

#include "config_sli.h"
#include "emplacements.h"
#include "erreurs.h"
#include "export_video.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <optional>

namespace {

const QString kProgramme = QStringLiteral("vistarama-video");

const char kAide[] =
    "Usage : vistarama-video FICHIER.sli SORTIE.mp4 [options]\n"
    "Écrit le diaporama en vidéo, tel que la présentation automatique le montre :\n"
    "H.264 et AAC en MP4, ou VP9 et Opus pour un nom en .webm.\n"
    "  --taille LxH                 taille de la vidéo (1920x1080)\n"
    "  --images-par-seconde N       images par seconde, 1 à 120 (25)\n"
    "  --attendre-fin-son           une diapositive sonore dure jusqu'à la fin de son son\n"
    "                               (de même quand le mode de défilement le demande)\n"
    "  --help                       affiche cette aide\n"
    "Le délai de chaque diapositive est celui du mode de défilement (SLI.CFG).\n"
    "Code de sortie : 0 quand tout est écrit, 1 en cas d'échec ou de photo absente, 2 pour une erreur d'usage.\n";

struct Commande {
    QString diaporama;
    QString sortie;
    QSize taille{1920, 1080};
    int images_par_seconde = 25;
    bool attendre_fin_son = false;
    bool aide = false;
};

// The usage error, or empty.
QString analyse(const QStringList &arguments, Commande &c)
{
    QStringList fichiers;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const auto valeur = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (a == QLatin1String("--help")) {
            c.aide = true;
        } else if (a == QLatin1String("--attendre-fin-son")) {
            c.attendre_fin_son = true;
        } else if (a == QLatin1String("--taille")) {
            const auto v = valeur();
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$")).match(v.value_or(QString()));
            const int l = m.captured(1).toInt(), h = m.captured(2).toInt();
            // The encoders take even sizes only.
            if (!m.hasMatch() || l < 16 || h < 16 || l > 7680 || h > 4320 || l % 2 || h % 2)
                return QStringLiteral("taille invalide : %1 (attendu LxH, pairs, de 16x16 à 7680x4320)").arg(v.value_or(QString()));
            c.taille = QSize(l, h);
        } else if (a == QLatin1String("--images-par-seconde")) {
            const auto v = valeur();
            bool ok = false;
            const int n = v.value_or(QString()).toInt(&ok);
            if (!ok || n < 1 || n > 120)
                return QStringLiteral("nombre d'images par seconde invalide : %1 (1 à 120)").arg(v.value_or(QString()));
            c.images_par_seconde = n;
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("option inconnue : %1").arg(a);
        } else {
            fichiers << a;
        }
    }
    if (c.aide)
        return {};
    if (fichiers.size() != 2)
        return QStringLiteral("il faut un diaporama et un fichier de sortie");
    c.diaporama = fichiers[0];
    c.sortie = fichiers[1];
    const QString suffixe = QFileInfo(c.sortie).suffix().toLower();
    if (suffixe != QLatin1String("mp4") && suffixe != QLatin1String("webm"))
        return QStringLiteral("le fichier de sortie doit finir en .mp4 ou .webm : %1").arg(c.sortie);
    return {};
}

// "[#####-----]  50 %" on one line, rewritten as it moves.
void barre(QTextStream &err, int faites, int total)
{
    constexpr int kLargeur = 40;
    const int pleines = total > 0 ? faites * kLargeur / total : kLargeur;
    err << "\r[" << QString(pleines, QLatin1Char('#')) << QString(kLargeur - pleines, QLatin1Char('-')) << "] "
        << QStringLiteral("%1 %").arg(total > 0 ? faites * 100 / total : 100, 3);
    err.flush();
}

}  // namespace

int lance_commande_video(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Commande c;
    if (const QString usage = analyse(arguments, c); !usage.isEmpty()) {
        err << kProgramme << " : " << usage << "\n" << "Essayez « " << kProgramme << " --help ».\n";
        err.flush();
        return 2;
    }
    if (c.aide) {
        out << QString::fromUtf8(kAide);
        out.flush();
        return 0;
    }
    if (!QFileInfo(c.diaporama).isFile() || !nom_de_diaporama(c.diaporama)) {
        err << kProgramme << " : diaporama introuvable : " << c.diaporama << "\n";
        err.flush();
        return 1;
    }
    // The user's settings when they exist; the defaults, without writing them, otherwise.
    fixe_dossier_config(emplacements::dossier_config());
    if (QFileInfo::exists(chemin_config()))
        lit_config();

    FicheDiapo defauts{};
    QList<DiapoAExporter> diapos;
    try {
        ouvre_fichier_sli(c.diaporama);
        defauts = copie_fiche(0);
        diapos = diapos_du_diaporama();
        ferme_fichier_sli();
    } catch (const std::exception &e) {
        err << kProgramme << " : " << QString::fromUtf8(e.what()) << "\n";
        err.flush();
        return 1;
    }
    ReglagesExport r;
    r.taille = c.taille;
    r.images_par_seconde = c.images_par_seconde;
    r.delai = std::clamp<int>(reglages.delai, 1, 60);
    r.attendre_fin_son = c.attendre_fin_son || reglages.attendre_fin_son;
    r.police_echec = QGuiApplication::font();
    const IssueExport issue = exporte_video(defauts, diapos, c.sortie, r, [&](int faites, int total) {
        barre(err, faites, total);
        return true;
    });
    err << "\n";
    err.flush();
    for (const QString &absente : issue.absentes)
        err << kProgramme << " : " << absente << "\n";
    if (!issue.reussie()) {
        err << kProgramme << " : " << issue.erreur << "\n";
        err.flush();
        return 1;
    }
    out << QStringLiteral("%1 : %2 s de vidéo\n").arg(c.sortie).arg(issue.duree, 0, 'f', 1);
    out.flush();
    err.flush();
    return issue.absentes.isEmpty() ? 0 : 1;
}
