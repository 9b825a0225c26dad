#include "ligne_de_commande.h"

#include "ecran.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

using Action = LigneDeCommande::Action;

void ecrit_fichier(const QString &chemin, const QByteArray &octets)
{
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

TEST(LigneDeCommande, ChaqueFormeDonneSonActionEtSonDiaporama)
{
    DossierTemporaire dossier;
    ecrit_fichier(dossier.chemin(QStringLiteral("Vacances.SLI")), QByteArray(987 * 2, '\0'));
    ecrit_fichier(dossier.chemin(QStringLiteral("coupe.sli")), QByteArray(1000, '\xff'));
    ecrit_fichier(dossier.chemin(QStringLiteral("vide.sli")), QByteArray(987, '\0'));
    ecrit_fichier(dossier.chemin(QStringLiteral("photo.jpg")), QByteArray("\xff\xd8\xff\xe0", 4));
    const QString vacances = dossier.chemin(QStringLiteral("Vacances.SLI"));
    const QString nouveau = dossier.chemin(QStringLiteral("nouveau.sli"));
    const struct {
        QStringList arguments;
        Action action;
        QString diaporama;
        QString refus;
    } cas[] = {
        {{}, Action::Fenetre, {}, {}},
        {{"Vacances.SLI"}, Action::Fenetre, vacances, {}},
        {{"nouveau.sli"}, Action::Fenetre, nouveau, {}},
        {{"--", "-x.sli"}, Action::Fenetre, dossier.chemin(QStringLiteral("-x.sli")), {}},
        {{"--diaporama", "Vacances.SLI"}, Action::Presentation, vacances, {}},
        {{"--presenter", "Vacances.SLI"}, Action::Presentation, vacances, {}},
        {{"Vacances.SLI", "--help"}, Action::Aide, {}, {}},
        {{"-h"}, Action::Aide, {}, {}},
        {{"--version"}, Action::Version, {}, {}},
        {{"--plein-ecran"}, Action::Refus, {}, "option inconnue : --plein-ecran"},
        {{"photo.jpg"}, Action::Refus, {}, "« photo.jpg » n'est pas un diaporama (fichier .sli)."},
        {{"absent.jpg"}, Action::Refus, {}, "« absent.jpg » est introuvable."},
        {{"coupe.sli"}, Action::Refus, {}, "« coupe.sli » n'est pas un diaporama."},
        {{"--diaporama", "nouveau.sli"}, Action::Refus, {}, "« nouveau.sli » est introuvable."},
        {{"vide.sli"}, Action::Fenetre, dossier.chemin(QStringLiteral("vide.sli")), {}},
        {{"--diaporama", "vide.sli"}, Action::Refus, {}, "« vide.sli » n'a aucune diapositive à présenter."},
        {{"--diaporama"}, Action::Refus, {}, "--diaporama demande un fichier .sli."},
        {{"a.sli", "b.sli"}, Action::Refus, {}, "un seul diaporama à la fois."},
    };
    for (const auto &c : cas) {
        const LigneDeCommande ligne = analyse_ligne_de_commande(c.arguments);
        const std::string nom = c.arguments.join(' ').toStdString();
        EXPECT_EQ(ligne.action, c.action) << nom;
        EXPECT_EQ(ligne.diaporama, c.diaporama) << nom;
        if (c.action == Action::Refus) {
            EXPECT_TRUE(ligne.message.startsWith(QStringLiteral("vistarama : ") + c.refus)) << nom;
        }
    }
}

QStringList fichiers_sous(const QString &dossier)
{
    QStringList fichiers;
    for (QDirIterator i(dossier, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
         i.hasNext();)
        fichiers << i.next();
    return fichiers;
}

// The program itself, run as from a terminal: with no display at all, from an
// empty folder, its user folders inside that folder.
TEST(LigneDeCommande, LeProgrammeRepondSansFenetreNiFichierEcrit)
{
    DossierTemporaire dossier;
    QDir(dossier.chemin()).mkpath(QStringLiteral("maison"));
    ecrit_fichier(dossier.chemin(QStringLiteral("maison/photo.jpg")), QByteArray("\xff\xd8\xff\xe0", 4));
    const struct {
        QStringList arguments;
        int statut;
        QString sortie, erreur;  // the start of each
    } cas[] = {
        {{"--help"}, 0, "Usage : vistarama [FICHIER.sli]", {}},
        {{"--version"}, 0, "vistarama " VISTA_VERSION "\n", {}},
        {{"--plein-ecran"}, 2, {}, "vistarama : option inconnue : --plein-ecran\nEssayez « vistarama --help »."},
        {{"photo.jpg"}, 2, {}, "vistarama : « photo.jpg » n'est pas un diaporama (fichier .sli)."},
    };
    for (const auto &c : cas) {
        const QStringList avant = fichiers_sous(dossier.chemin());
        QProcess programme;
        QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
        environnement.remove(QStringLiteral("DISPLAY"));
        environnement.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environnement.insert(QStringLiteral("HOME"), dossier.chemin(QStringLiteral("maison")));
        environnement.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environnement.remove(QStringLiteral("XDG_DATA_HOME"));
        programme.setProcessEnvironment(environnement);
        programme.setWorkingDirectory(dossier.chemin(QStringLiteral("maison")));
        programme.start(QStringLiteral(VISTA_PROGRAMME), c.arguments);
        ASSERT_TRUE(programme.waitForFinished(20000));
        const std::string nom = c.arguments.join(' ').toStdString();
        EXPECT_EQ(programme.exitStatus(), QProcess::NormalExit) << nom;
        EXPECT_EQ(programme.exitCode(), c.statut) << nom;
        const QString sortie = QString::fromLocal8Bit(programme.readAllStandardOutput());
        const QString erreur = QString::fromLocal8Bit(programme.readAllStandardError());
        EXPECT_EQ(sortie.isEmpty(), c.sortie.isEmpty()) << nom;
        EXPECT_TRUE(sortie.startsWith(c.sortie)) << nom << sortie.toStdString();
        EXPECT_TRUE(erreur.startsWith(c.erreur)) << nom << erreur.toStdString();
        EXPECT_EQ(fichiers_sous(dossier.chemin()), avant) << nom;
    }
}

}  // namespace
