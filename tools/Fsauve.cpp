#include "Fsauve.h"

#include "Label3D.h"
#include "outils.h"
#include "systeme.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

Tsauve_image::Tsauve_image(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("sauve_image"));
    setWindowTitle(QStringLiteral("Enregistrer image sous"));
    setFixedSize(243, 79);

    auto *Label3D1 = place(new TLabel3D(QStringLiteral("Nom de fichier"), this), 10, 15, 95, 18);
    Label3D1->setFont(QFont(QStringLiteral("Arial")));
    Label3D1->setShadowColor(Qt::gray);
    Label3D1->setTransparent(true);
    nom = place(new QLineEdit(this), 110, 10, 121);

    BitBtn1 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this),
                    (243 - 75) / 2, 79 - 40 + 4, 75, 32);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

QString Tsauve_image::demande()
{
    systeme::execute(*this);
    return nom->text();
}
