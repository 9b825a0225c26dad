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
    panneau->setGeometry(4, 172, 153, 32);
    tout = new QCheckBox(QStringLiteral("Toutes les diapositives"), panneau);
    tout->setGeometry(4, 6, 147, 20);
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
