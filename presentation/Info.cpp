#include "Info.h"

#include "diaporama.h"

#include "Label3D.h"
#include "fichier_sli.h"
#include "outils.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>

namespace {

QFont police(const QString &famille, int pixels)
{
    QFont f(famille);
    f.setPixelSize(pixels);
    return f;
}

template <typename Champ>
Champ *champ_lecture(QGroupBox *groupe, int hauteur)
{
    auto *champ = place(new Champ(groupe), 10, 20, 410, hauteur);
    champ->setReadOnly(true);
    champ->setFont(police(QStringLiteral("Arial"), 13));
    return champ;
}

TLabel3D *ligne_info(QWidget *panneau, int rang, const QString &legende)
{
    const QFont arial = police(QStringLiteral("Arial"), 16);
    const int haut = 8 + 26 * rang;
    auto *titre = place(new TLabel3D(legende, panneau), 20, haut, 150, 22);
    titre->setFont(arial);
    titre->setShadowColor(Qt::gray);
    titre->setTransparent(true);
    auto *valeur = place(new TLabel3D(panneau), 180, haut, 230, 22);
    valeur->setFont(arial);
    valeur->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    valeur->setShadowColor(Qt::black);
    valeur->setTransparent(true);
    valeur->setShowAccelChar(false);
    QPalette rouge = valeur->palette();
    rouge.setColor(QPalette::WindowText, Qt::red);
    valeur->setPalette(rouge);
    return valeur;
}

}  // namespace

Tinfo_diapo::Tinfo_diapo(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("info_diapo"));
    setFixedSize(450, 258);

    Notebook1 = place(new QStackedWidget(this), 0, 0, 450, 236);
    TabSet1 = place(new QTabBar(this), 0, 236, 450, 22);
    TabSet1->setShape(QTabBar::RoundedSouth);
    TabSet1->setFont(police(QStringLiteral("MS Sans Serif"), 11));
    TabSet1->addTab(QStringLiteral("Informations diapositive"));
    TabSet1->addTab(QStringLiteral("Informations image"));
    TabSet1->setDrawBase(false);

    auto *diapositive = new QWidget;
    auto *groupe_image = groupe_titre(diapositive, 10, 4, 430, 50, QStringLiteral("L'image "), 16);
    image = champ_lecture<QLineEdit>(groupe_image, 22);
    auto *groupe_son = groupe_titre(diapositive, 10, 58, 430, 50, QStringLiteral("Le son "), 16);
    son = champ_lecture<QLineEdit>(groupe_son, 22);
    auto *groupe_texte = groupe_titre(diapositive, 10, 112, 430, 96, QStringLiteral("Le commentaire "), 16);
    texte = champ_lecture<QPlainTextEdit>(groupe_texte, 68);
    texte->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Notebook1->addWidget(diapositive);

    auto *description = new QWidget;
    auto *panneau = place(new QFrame(description), 10, 8, 430, 220);
    panneau->setFrameShape(QFrame::Panel);
    panneau->setFrameShadow(QFrame::Raised);
    info_type = ligne_info(panneau, 0, QStringLiteral("Type"));
    info_largeur = ligne_info(panneau, 1, QStringLiteral("Largeur"));
    info_hauteur = ligne_info(panneau, 2, QStringLiteral("Hauteur"));
    info_taille = ligne_info(panneau, 3, QStringLiteral("Taille"));
    info_couleurs = ligne_info(panneau, 4, QStringLiteral("Couleurs"));
    info_bits = ligne_info(panneau, 5, QStringLiteral("Bits/Pixel"));
    info_densite = ligne_info(panneau, 6, QStringLiteral("Densité"));
    info_compression = ligne_info(panneau, 7, QStringLiteral("Compression"));
    Notebook1->addWidget(description);

    connect(TabSet1, &QTabBar::currentChanged, this, &Tinfo_diapo::TabSet1Change);
}

void Tinfo_diapo::showEvent(QShowEvent *event)
{
    if (const QScreen *ecran = QGuiApplication::primaryScreen())
        centre_fenetre(*this, ecran->availableGeometry());
    FormShow();
    QDialog::showEvent(event);
}

void Tinfo_diapo::FormShow()
{
    setWindowTitle(QStringLiteral("Diapositive n°") + QString::number(numero));
    const FicheDiapo lue = Diaporama::courant().diapo(numero);
    image->setText(lue.chemin_image.valeur());
    son->setText(lue.chemin_son.valeur());
    texte->setPlainText(lue.commentaire.valeur());
}

void Tinfo_diapo::TabSet1Change(int onglet) { Notebook1->setCurrentIndex(onglet); }
