#include "About.h"

#include "Splash.h"

#include "Label3D.h"
#include "Logo.h"
#include "application.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace {

QLabel *information(QWidget *parent, const QString &texte, int haut, int pixels, bool gras = false)
{
    auto *label = new QLabel(texte, parent);
    QFont police(QStringLiteral("Arial"));
    police.setPixelSize(pixels);
    police.setBold(gras);
    label->setFont(police);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // Inside the picture's lighter panel, to the right of the logo.
    label->setGeometry(124, haut, 190, pixels + 6);
    return label;
}

}  // namespace

Ta_propos::Ta_propos(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("a_propos"));
    setWindowTitle(QStringLiteral("A propos"));
    setFixedSize(324, 215);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Panel1->rect());
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(QStringLiteral(":/decor/a_propos.png")));
    LOGO1 = new TLOGO(Panel1);
    LOGO1->setObjectName(QStringLiteral("LOGO1"));
    LOGO1->move(12, 4);
    logiciel = cree_logiciel(Panel1, width(), 104);

    information(Panel1, QStringLiteral("Vistarama"), 16, 16, true);
    information(Panel1, QStringLiteral("Composez et présentez"), 42, 13);
    information(Panel1, QStringLiteral("vos diaporamas"), 58, 13);
    information(Panel1, QStringLiteral("Logiciel libre (GPL 3 ou ultérieure)"), 76, 11);

    for (QObject *cible : {static_cast<QObject *>(Image1), static_cast<QObject *>(LOGO1),
                           static_cast<QObject *>(logiciel)})
        cible->installEventFilter(this);
    FormCreate();
}

// The background picture covers the window and its panel: no brush of their own.
void Ta_propos::FormCreate()
{
    setAttribute(Qt::WA_NoSystemBackground);
    Panel1->setAttribute(Qt::WA_NoSystemBackground);
}

void Ta_propos::FormShow()
{
    logiciel->setText(nom_logiciel(titre_application));
    centre_sur_ecran(*this);
}

void Ta_propos::Image1Click() { accept(); }

void Ta_propos::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

bool Ta_propos::eventFilter(QObject *objet, QEvent *evenement)
{
    if (evenement->type() == QEvent::MouseButtonRelease) {
        Image1Click();
        return true;
    }
    return QDialog::eventFilter(objet, evenement);
}
