#include "Poubelle.h"

#include "curseurs.h"
#include "imagefile.h"
#include "systeme.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QTimer>

namespace {

constexpr int INTERVALLE_ANIMATION = 80;
constexpr int SON_ASYNCHRONE = 1;

BoutonPoubelle bouton_poubelle(Qt::MouseButton bouton)
{
    switch (bouton) {
    case Qt::LeftButton:
        return BoutonPoubelle::Gauche;
    case Qt::RightButton:
        return BoutonPoubelle::Droit;
    default:
        return BoutonPoubelle::Autre;
    }
}

// A bitmap resource drawn transparently: its bottom-left pixel's colour is the background.
QPixmap image_ressource(const QString &nom)
{
    BitmapObject bitmap;
    if (!LoadResourceBitmap(QString(), nom, nullptr, bitmap))
        return QPixmap();
    const QImage &image = bitmap.bitmap;
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1)));
    return pixmap;
}

}  // namespace

TPOUBELLE::TPOUBELLE(QWidget *parent) : QLabel(parent)
{
    enregistre_curseur(CURSEUR_POUBELLE_PLEINE, charge_curseur(QStringLiteral("pmain_haut")));
    enregistre_curseur(CURSEUR_POUBELLE_ARMEE, charge_curseur(QStringLiteral("pallumette")));
    enregistre_curseur(CURSEUR_POUBELLE_VIDE, charge_curseur(QStringLiteral("pimpossible")));
    setGeometry(0, 312, 72, 105);
    setFixedSize(72, 105);
    setAlignment(Qt::AlignCenter);
    setContextMenuPolicy(Qt::PreventContextMenu);  // a right click confirms, it opens no menu
    montre_image();
    montre_etat();

    animation_ = new QTimer(this);
    animation_->setInterval(INTERVALLE_ANIMATION);
    connect(animation_, &QTimer::timeout, this, &TPOUBELLE::animationTimer);
}

void TPOUBELLE::fixe_etat(bool plein)
{
    etat_.fixe_plein(plein);
    montre_image();
    montre_etat();
}

void TPOUBELLE::clic(Qt::MouseButton bouton)
{
    const ReactionClic reaction = etat_.clic(bouton_poubelle(bouton));
    if (reaction.suppression && !animation_->isActive())
        animation_->start();
    if (!reaction.son.isEmpty())
        systeme::joue_son(dossier_sons_ + reaction.son, SON_ASYNCHRONE);
    montre_etat();
    if (reaction.suppression)
        emit suppression_demandee();
}

void TPOUBELLE::animationTimer()
{
    if (etat_.tic())
        montre_image();
    if (!etat_.anime())
        animation_->stop();
}

void TPOUBELLE::mouseReleaseEvent(QMouseEvent *evenement)
{
    // Only a button released over the can counts.
    if (rect().contains(evenement->position().toPoint()))
        clic(evenement->button());
    evenement->accept();
}

void TPOUBELLE::montre_image() { setPixmap(image_ressource(etat_.image())); }

void TPOUBELLE::montre_etat()
{
    setToolTip(etat_.bulle());
    setCursor(curseur_ecran(etat_.curseur()));
}
