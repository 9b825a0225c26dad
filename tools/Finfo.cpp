#include "Finfo.h"

#include "Label3D.h"
#include "TMultiP.h"
#include "outils.h"

#include <QFrame>
#include <QPushButton>
#include <QStyle>

namespace {

QFrame *panneau(QWidget *parent, int gauche, int haut, int largeur, int hauteur)
{
    auto *cadre = place(new QFrame(parent), gauche, haut, largeur, hauteur);
    cadre->setFrameShape(QFrame::Panel);
    cadre->setFrameShadow(QFrame::Raised);
    cadre->setLineWidth(2);
    return cadre;
}

TLabel3D *etiquette(QWidget *parent, const QString &texte, const QColor &couleur, const QColor &ombre)
{
    auto *label = new TLabel3D(texte, parent);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(16);
    label->setFont(arial);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, couleur);
    label->setPalette(p);
    label->setShadowColor(ombre);
    label->setTransparent(true);
    return label;
}

}  // namespace

Tinfo_image::Tinfo_image(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("info_image"));
    setWindowTitle(QStringLiteral("Informations sur l'image"));
    setFixedSize(320, 315);

    QFrame *haut = panneau(this, 5, 5, 311, 46);
    info_nom = place(etiquette(haut, QStringLiteral("Banque :"), Qt::black, Qt::white), 2, 2, 307, 42);
    QFont titre(QStringLiteral("Arial"));
    titre.setPixelSize(32);
    titre.setBold(true);
    info_nom->setFont(titre);
    info_nom->setAlignment(Qt::AlignCenter);

    QFrame *corps = panneau(this, 5, 55, 311, 216);
    const QString noms[] = {"Type",     "Largeur",    "Hauteur", "Taille",
                            "Couleurs", "Bits/Pixel", "Densité", "Compression"};
    TLabel3D **valeurs[] = {&info_type,     &info_largeur, &info_hauteur, &info_taille,
                            &info_couleurs, &info_bits,    &info_densite, &info_compression};
    for (int i = 0; i < 8; ++i) {
        const int y = 10 + 25 * i;
        place(etiquette(corps, noms[i], Qt::black, Qt::gray), 27, y, 120, 20);
        *valeurs[i] = place(etiquette(corps, QStringLiteral("100"), Qt::red, Qt::black), 150, y, 134, 20);
        (*valeurs[i])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    BitBtn1 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this),
                    115, 279, 89, 30);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void Tinfo_image::remplit(const QString &nom, const TPMultiImage &image)
{
    info_nom->setText(nom);
    info_type->setText(image.InfoType);
    info_largeur->setText(QString::number(image.InfoWidth));
    info_hauteur->setText(QString::number(image.InfoHeight));
    info_taille->setText(QString::number(image.InfoFileSize));
    info_couleurs->setText(QString::number(image.InfoColors));
    info_bits->setText(QString::number(image.InfoBitsPerPixel));
    info_densite->setText(QString::number(image.InfoDensity));
    info_compression->setText(image.InfoCompression);
}
