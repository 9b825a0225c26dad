#include "application.h"
#include "ecran.h"
#include "systeme.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The standard dialogs speak French once Qt's translations are loaded.
TEST(DialogueFichier, LOuvertureParleFrancaisEtProposeLeMotif)
{
    Application::charge_traductions();
    systeme::DemandeFichier demande;
    demande.titre = QStringLiteral("OUVRIR OU CREER UN DIAPORAMA");
    demande.filtre = QStringLiteral("Diaporama|*.sli");
    demande.nom = QStringLiteral("*.sli");
    const auto dialogue = systeme::dialogue_fichier(demande);
    dialogue->show();
    capture_ecran(dialogue.get(), QStringLiteral("dialogue_ouvrir"));
    EXPECT_EQ(dialogue->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text(),
              QStringLiteral("*.sli"));
    EXPECT_EQ(dialogue->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text(),
              QStringLiteral("Voir dans :"));
    QStringList boutons;
    for (const QPushButton *b : dialogue->findChildren<QPushButton *>())
        boutons << b->text();
    EXPECT_TRUE(boutons.contains(QStringLiteral("Annuler"))) << boutons.join(',').toStdString();
    EXPECT_EQ(dialogue->nameFilters(), QStringList{QStringLiteral("Diaporama (*.sli)")});
}

}  // namespace
