#include "langue.h"

#include <QMouseEvent>

#include "dessins.h"
#include "image.h"
#include "plateforme.h"

namespace lanceur {

namespace {

const QColor FOND_NUIT(16, 24, 64);

}  // namespace

Langue::Langue(const QString &chemin_appli, const QString &code_langue, QWidget *parent)
    // A close box only: the caption keeps the room of the other buttons.
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      CheminAppli(chemin_appli)
{
    setObjectName(QStringLiteral("Langue"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(legende(code_langue, COIN_LANGUE).value_or(QString()));
    setFixedSize(taille_fenetre_langue());
    setMouseTracking(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FOND_NUIT);
    setPalette(palette);
    setAutoFillBackground(true);

    for (int i = 0; i < NOMBRE_DRAPEAUX; ++i) {
        Image2[i] = new Image(nom_indice("Image2", i), this);
        Image2[i]->setImage(QPixmap::fromImage(drapeau(i, false)));
        Image2[i]->move(place_drapeau(i));
        connect(Image2[i], &Image::MouseMove, this, [this, i] { Image2_MouseMove(i); });
    }
    for (int i = 0; i <= NOMBRE_DRAPEAUX; ++i) {
        Image3[i] = new Image(nom_indice("Image3", i), this);
        if (i < NOMBRE_DRAPEAUX) {
            Image3[i]->setImage(QPixmap::fromImage(drapeau(i, true)));
            Image3[i]->setGeometry(Image2[i]->geometry());
            connect(Image3[i], &Image::Click, this, [this, i] { Image3_Click(i); });
        } else {
            Image3[i]->move(0, pixels(2160));
        }
        Image3[i]->hide();
    }
    Image1 = new Image(QStringLiteral("Image1"), this);
    Image1->setImage(QPixmap::fromImage(globe()));
    Image1->move(place_globe());
    connect(Image1, &Image::MouseMove, this, &Langue::Form_MouseMove);
}

void Langue::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseMove();
}

void Langue::Image2_MouseMove(int drapeau)
{
    if (drapeau == DrapeauActif)
        return;
    Image3[DrapeauActif]->hide();
    Image3[drapeau]->show();
    DrapeauActif = drapeau;
    plateforme().joue_son(CheminAppli + SON_SURVOL);
}

void Langue::Form_MouseMove()
{
    Image3[DrapeauActif]->hide();
    DrapeauActif = AUCUN_DRAPEAU;
}

void Langue::Image3_Click(int drapeau)
{
    emit langue_choisie(langue_du_drapeau(drapeau));
    close();
}

}  // namespace lanceur
