#include "demarrage.h"

#include "application.h"
#include "main.h"

#include "Splash.h"

#include "emplacements.h"
#include "erreurs.h"
#include "ligne_de_commande.h"

#include <QDir>
#include <QFont>
#include <cstdio>
#include <memory>

namespace {

// Faces the windows name that this platform does not have.
void substitue_polices()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

}  // namespace

std::optional<int> repond_sans_fenetre(const LigneDeCommande &ligne)
{
    const auto ecrit = [](std::FILE *flux, const QString &texte) {
        std::fputs(texte.toLocal8Bit().constData(), flux);
        std::fflush(flux);
    };
    switch (ligne.action) {
    case LigneDeCommande::Action::Aide:
        ecrit(stdout, texte_aide());
        return 0;
    case LigneDeCommande::Action::Version:
        ecrit(stdout, texte_version());
        return 0;
    case LigneDeCommande::Action::Refus:
        ecrit(stderr, ligne.message + QLatin1Char('\n'));
        return 2;
    default:
        return std::nullopt;
    }
}

int demarre_programme(Application &application, const QStringList &arguments)
{
    const LigneDeCommande ligne = analyse_ligne_de_commande(arguments.mid(1));
    if (const auto statut = repond_sans_fenetre(ligne))
        return *statut;
    emplacements::copie_exemple(emplacements::dossier_ressources(), emplacements::dossier_exemple());
    // The open dialog, the browser and the converter start in the user's start folder.
    QDir::setCurrent(emplacements::dossier_depart());

    titre_application = QStringLiteral("Slideshow V2.32");
    QApplication::setApplicationName(QStringLiteral("Vistarama"));
    Application::charge_traductions();
    substitue_polices();

    // On the screen while the windows are made, gone before the message loop.
    auto splash = montre_splash();

    // Every window is created once, hidden, in this order; the main window first.
    TForm1 Form1;
    splash.reset();
    if (ligne.action == LigneDeCommande::Action::Presentation) {
        // A show started from the command line is the program's whole run.
        const bool joue = erreurs::sous_garde([&] {
            Form1.ouvre_diaporama(ligne.diaporama);
            Form1.lancerClick();
        });
        return joue ? 0 : 1;
    }
    Form1.showMaximized();

    // A slideshow named on the command line is opened at once.
    if (!ligne.diaporama.isEmpty())
        erreurs::sous_garde([&] { Form1.ouvre_diaporama(ligne.diaporama); });
    return application.exec();
}
