#include "Option.h"

#include "attributs_texte.h"
#include "barre_titre.h"
#include "couleurs.h"
#include "defilement.h"
#include "fichier_sli.h"
#include "outils.h"
#include "systeme.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

// The width its controls are laid out in.
constexpr int kLargeurOptions = 161;

}  // namespace

Toption_affichage::Toption_affichage(QWidget *parent) : Toption_affichage(parent, 222)
{
    setObjectName(QStringLiteral("option_affichage"));
}

Toption_affichage::Toption_affichage(QWidget *parent, int hauteur) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("OPTIONS D'AFFICHAGE"));
    // As wide as its caption needs, the controls in the middle.
    const int largeur = systeme::largeur_pour_legende(*this, kLargeurOptions);
    const int dx = (largeur - kLargeurOptions) / 2;
    setFixedSize(largeur, hauteur);

    transparent = new QCheckBox(QStringLiteral(" Fond transparent"), this);
    transparent->setGeometry(dx + 10, 8, 141, 20);

    position = new QGroupBox(QStringLiteral("Position"), this);
    position->setGeometry(dx + 8, 32, 145, 66);
    en_haut = new QRadioButton(QStringLiteral("En haut de l'écran"), position);
    en_haut->setGeometry(8, 20, 131, 18);
    en_bas = new QRadioButton(QStringLiteral("En bas de l'écran"), position);
    en_bas->setGeometry(8, 42, 131, 18);

    couleur_fond = new QPushButton(QStringLiteral("Couleur du fond"), this);
    couleur_fond->setGeometry(dx + 8, 106, 145, 26);
    couleur_texte = new QPushButton(QStringLiteral("Attributs du texte"), this);
    couleur_texte->setGeometry(dx + 8, 138, 145, 26);

    auto *bas = new QFrame(this);
    bas->setFrameShape(QFrame::Panel);
    bas->setFrameShadow(QFrame::Raised);
    bas->setGeometry(0, hauteur - 46, largeur, 46);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), bas);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setGeometry(dx + 40, 10, 80, 26);
    BitBtn1->setDefault(true);

    connect(couleur_fond, &QPushButton::clicked, this, &Toption_affichage::couleur_fondClick);
    connect(couleur_texte, &QPushButton::clicked, this, &Toption_affichage::couleur_texteClick);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

void Toption_affichage::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void Toption_affichage::FormShow()
{
    centre_fenetre(*this, principale);
    transparent->setChecked(fiche.fond_transparent != 0);
    (fiche.position_texte == 1 ? en_haut : en_bas)->setChecked(true);
}

void Toption_affichage::couleur_fondClick()
{
    if (const auto couleur = systeme::choisir_couleur(vers_qcolor(fiche.couleur_fond), this))
        fiche.couleur_fond = depuis_qcolor(*couleur);
}

void Toption_affichage::couleur_texteClick()
{
    // The font chooser has no colour of its own: a confirmed font is followed by
    // the colour chooser for the text; cancelling either keeps what it would change.
    const auto police = systeme::choisir_police(police_a_choisir(fiche), this);
    if (!police)
        return;
    QColor couleur = vers_qcolor(fiche.couleur_texte);
    if (const auto choisie = systeme::choisir_couleur(couleur, this))
        couleur = *choisie;
    police_vers_fiche(*police, couleur, fiche);
}

void Toption_affichage::BitBtn1Click()
{
    fiche.fond_transparent = transparent->isChecked() ? 1 : 0;
    fiche.position_texte = qint16(en_haut->isChecked() ? 1 : 2);
    accept();
}

void Toption_affichage::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        systeme::aide(fichier_aide, 6);
    else
        QDialog::keyPressEvent(event);
}
