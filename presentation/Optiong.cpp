#include "Optiong.h"

#include "fichier_sli.h"

#include <QCheckBox>
#include <QFrame>

Toption_affichage_general::Toption_affichage_general(QWidget *parent) : Toption_affichage(parent, 257)
{
    setObjectName(QStringLiteral("option_affichage_general"));
    auto *panneau = new QFrame(this);
    panneau->setFrameShape(QFrame::Panel);
    panneau->setFrameShadow(QFrame::Sunken);
    tout = new QCheckBox(QStringLiteral("Toutes les diapositives"), panneau);
    // The box as wide as its text, inside the window.
    const int largeur = qMin(width() - 8, qMax(153, tout->sizeHint().width() + 8));
    panneau->setGeometry((width() - largeur) / 2, 172, largeur, 32);
    tout->setGeometry(4, 6, largeur - 6, 20);
}

void Toption_affichage_general::FormShow()
{
    Toption_affichage::FormShow();
    tout->setChecked(fiche.toutes_diapos != 0);
}

void Toption_affichage_general::BitBtn1Click()
{
    fiche.toutes_diapos = tout->isChecked() ? 1 : 0;
    Toption_affichage::BitBtn1Click();
}
