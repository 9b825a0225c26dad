#include "reglages_scanner.h"

#include "systeme.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TReglagesScanner::TReglagesScanner(QWidget *parent)
    : QDialog(parent), resolution(new QSpinBox(this)),
      couleur(new QRadioButton(QStringLiteral("&Couleur"), this)),
      gris(new QRadioButton(QStringLiteral("&Niveaux de gris"), this))
{
    setWindowTitle(QStringLiteral("Numérisation"));
    resolution->setRange(10, 1200);
    resolution->setSingleStep(50);
    resolution->setSuffix(QStringLiteral(" ppp"));

    auto *mode = new QHBoxLayout;
    mode->addWidget(couleur);
    mode->addWidget(gris);
    auto *champs = new QFormLayout;
    champs->addRow(QStringLiteral("&Résolution :"), resolution);
    champs->addRow(QStringLiteral("Mode :"), mode);

    auto *boutons = new QDialogButtonBox(this);
    boutons->addButton(QStringLiteral("Numériser"), QDialogButtonBox::AcceptRole)->setDefault(true);
    boutons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *colonne = new QVBoxLayout(this);
    colonne->addLayout(champs);
    colonne->addWidget(boutons);
    charge(sky::ScanSettings{});
}

void TReglagesScanner::charge(const sky::ScanSettings &reglages)
{
    resolution->setValue(reglages.resolution);
    couleur->setChecked(reglages.colour);
    gris->setChecked(!reglages.colour);
}

sky::ScanSettings TReglagesScanner::reglages() const
{
    return {resolution->value(), couleur->isChecked()};
}

bool demande_reglages_scanner(QWidget *parent, sky::ScanSettings &reglages)
{
    TReglagesScanner fenetre(parent);
    fenetre.charge(reglages);
    if (systeme::execute(fenetre) != QDialog::Accepted)
        return false;
    reglages = fenetre.reglages();
    return true;
}
