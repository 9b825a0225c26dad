#include "script_systeme.h"

#include <QDialog>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

// The next scripted answer, or a test failure and `annule` when none is left.
template <typename T>
T suivante(std::deque<T> &file, const char *seam, T annule)
{
    if (file.empty()) {
        ADD_FAILURE() << "appel non prévu par le test : " << seam;
        return annule;
    }
    T valeur = std::move(file.front());
    file.pop_front();
    return valeur;
}

}  // namespace

ScriptSysteme::ScriptSysteme()
{
    systeme::Seams &s = systeme::seams();
    s.boite = [this](const systeme::Boite &b) {
        boites.append(b);
        if (reponses.empty())
            return int(systeme::OK);
        const int r = reponses.front();
        reponses.pop_front();
        return r;
    };
    s.execute = [this](QDialog &dialogue) {
        dialogues_montres.append(dialogue.objectName());
        const auto reponse = suivante(dialogues, "dialogue modal", std::function<int(QDialog &)>());
        return reponse ? reponse(dialogue) : int(QDialog::Rejected);
    };
    s.choisir_fichier = [this](const systeme::DemandeFichier &d) {
        demandes.append(d);
        return suivante(fichiers, "choix d'un fichier", QString());
    };
    s.choisir_dossier = [this](QWidget *, const QString &titre, const QString &) {
        titres_dossiers.append(titre);
        return suivante(dossiers, "choix d'un dossier", QString());
    };
    s.choisir_couleur = [this](const QColor &, QWidget *) {
        return suivante(couleurs, "choix d'une couleur", std::optional<QColor>());
    };
    s.choisir_police = [this](const QFont &, QWidget *) {
        return suivante(polices, "choix d'une police", std::optional<QFont>());
    };
    s.joue_son = [this](const QString &chemin, int) { sons.append(chemin); };
    s.joue_son_diapo = [this](const QString &chemin) { sons_diapo.append(chemin); };
    s.suspend_economiseur = [this](bool suspendu) { economiseur.append(suspendu); };
    s.configure_imprimante = [this](QPrinter &, QWidget *) {
        return suivante(reglages_imprimante, "configuration de l'imprimante", false);
    };
    s.aide = [this](const QString &fichier, int contexte) { aides.append({fichier, contexte}); };
    s.lance_programme = [this](const QString &programme, const QStringList &arguments,
                               const QString &dossier) {
        lancements.append({programme, arguments, dossier});
        return suivante(lancements_reussis, "lancement d'un programme", false);
    };
    s.choisir_source_scanner = [this](const QStringList &, QWidget *) {
        return suivante(sources_scanner, "choix de la source du scanner", -1);
    };
    systeme::imprimante().setOutputFormat(QPrinter::PdfFormat);
    systeme::imprimante().setOutputFileName(pdf_imprime());
}

ScriptSysteme::~ScriptSysteme() { systeme::restaure(); }

QStringList ScriptSysteme::textes_boites() const
{
    QStringList t;
    for (const systeme::Boite &b : boites)
        t << b.texte;
    return t;
}

QString ScriptSysteme::pdf_imprime() const { return dossier_impression_.filePath(QStringLiteral("impression.pdf")); }
