#include "Fprint.h"

#include "outils.h"
#include "systeme.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

Timpression::Timpression(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("impression"));
    setWindowTitle(QStringLiteral("Impression"));
    setFixedSize(269, 137);

    place(new QLabel(QStringLiteral("Zoom"), this), 10, 13, 40);
    zoom = place(new QLineEdit(QStringLiteral("100"), this), 55, 10, 31);
    place(new QLabel(QStringLiteral("%"), this), 90, 13, 15);
    place(new QLabel(QStringLiteral("Copies"), this), 125, 13, 45);
    copies = place(new QLineEdit(QStringLiteral("1"), this), 175, 10, 56);
    horizontal = place(new QCheckBox(QStringLiteral("Centrer l'image horizontalement"), this), 10, 40, 250);
    horizontal->setChecked(true);
    vertical = place(new QCheckBox(QStringLiteral("Centrer l'image verticalement"), this), 10, 64, 250);
    vertical->setChecked(true);

    BitBtn3 = place(new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                    QStringLiteral("Configuration"), this), 5, 97, 115, 33);
    BitBtn3->setToolTip(QStringLiteral("Cofiguration de l'imprimante"));
    BitBtn1 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                    QStringLiteral("Annuler"), this), 125, 97, 80, 33);
    BitBtn1->setToolTip(QStringLiteral("Annuler l'impression"));
    BitBtn2 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this),
                    210, 97, 50, 33);
    BitBtn2->setToolTip(QStringLiteral("Lancer l'impression"));
    BitBtn2->setDefault(true);

    connect(BitBtn3, &QPushButton::clicked, this, &Timpression::BitBtn3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
}

// The set-up dialog runs at once; this dialog stays open afterwards.
void Timpression::BitBtn3Click() { systeme::configure_imprimante(this); }

std::optional<OptionsImpression> Timpression::demande()
{
    if (systeme::execute(*this) != QDialog::Accepted)
        return std::nullopt;
    return OptionsImpression{zoom->text(), copies->text(), horizontal->isChecked(), vertical->isChecked()};
}
