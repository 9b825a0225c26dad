#include "Fmode.h"

#include "barre_titre.h"

#include "config_sli.h"
#include "defilement.h"
#include "systeme.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <algorithm>

namespace {

// The edit takes any whole number as typed; its value is held to 1..60 when read.
class SaisieDelai : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString &texte, int &) const override
    {
        for (const QChar c : texte)
            if (!c.isDigit())
                return QValidator::Invalid;
        return texte.isEmpty() ? QValidator::Intermediate : QValidator::Acceptable;
    }
    int valueFromText(const QString &texte) const override { return delai_saisi(texte); }
};

QFrame *panneau_image(QWidget *parent, const QPixmap &dessin, QLabel *&image, const QString &aide)
{
    auto *panneau = new QFrame(parent);
    panneau->setFrameShape(QFrame::Panel);
    panneau->setLineWidth(2);
    panneau->setToolTip(aide);
    image = new QLabel(panneau);
    image->setPixmap(dessin);
    image->setGeometry(2, 2, 32, 32);
    // A click on the picture is a click on its panel.
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    return panneau;
}

QFrame *groupe_creux(QWidget *parent, const QRect &rectangle)
{
    auto *g = new QFrame(parent);
    g->setFrameShape(QFrame::Panel);
    g->setFrameShadow(QFrame::Sunken);
    g->setGeometry(rectangle);
    return g;
}

}  // namespace

Tmode::Tmode(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("mode"));
    setWindowTitle(QStringLiteral("DEFILEMENT"));
    // As wide as the wait's caption needs, the controls centred on that width.
    attendre_fin_son = new QCheckBox(QStringLiteral("Attendre la fin du son"));
    const int largeur = std::max(122, attendre_fin_son->sizeHint().width() + 32);
    const int marge = (largeur - 122) / 2;
    setFixedSize(largeur, 223);

    manuel = new QRadioButton(QStringLiteral("Manuel"), this);
    manuel->setGeometry(10, 6, 104, 18);
    manuel->setToolTip(QStringLiteral("Cliquez, pour effectuer un défilement manuel"));

    QFrame *peripheriques = groupe_creux(this, QRect(8, 28, largeur - 16, 48));
    b1 = panneau_image(peripheriques, QPixmap(QStringLiteral(":/glyphes/souris.png")), Image1,
                       QStringLiteral("Cliquez, pour utiliser les touches de la souris"));
    b1->setGeometry(12 + marge, 6, 36, 36);
    b2 = panneau_image(peripheriques, QPixmap(QStringLiteral(":/glyphes/pave.png")), Image2,
                       QStringLiteral("Cliquez, pour utiliser un pavé flèché"));
    b2->setGeometry(58 + marge, 6, 36, 36);

    automatique = new QRadioButton(QStringLiteral("Automatique"), this);
    automatique->setGeometry(10, 82, 104, 18);
    automatique->setToolTip(QStringLiteral("Cliquez, pour affectuer un défilement automatique"));

    QFrame *attente = groupe_creux(this, QRect(8, 104, largeur - 16, 78));
    Label1 = new QLabel(QStringLiteral("Délai(second)"), attente);
    Label1->setGeometry(8, 4, 92, 16);
    delai = new SaisieDelai(attente);
    delai->setRange(1, 60);
    delai->setValue(5);
    delai->setGeometry(8, 22, 60, 24);
    delai->setToolTip(QStringLiteral("Délai d'attente entre deux diapositives"));
    attendre_fin_son->setParent(attente);
    attendre_fin_son->setGeometry(8, 52, largeur - 32, 20);
    attendre_fin_son->setToolTip(
        QStringLiteral("Cochez, pour attendre la fin du son de chaque diapositive avant la suivante"));

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setGeometry(21 + marge, 190, 80, 26);
    BitBtn1->setToolTip(QStringLiteral("Cliquez, pour sortir"));
    BitBtn1->setDefault(true);

    for (QFrame *panneau : {b1, b2})
        panneau->installEventFilter(this);
    connect(manuel, &QRadioButton::clicked, this, &Tmode::manuelClick);
    connect(automatique, &QRadioButton::clicked, this, &Tmode::automatiqueClick);
    connect(delai->findChild<QLineEdit *>(), &QLineEdit::textEdited, this, &Tmode::delaiChange);
    // The arrows change the value without editing the text.
    connect(delai, &QSpinBox::valueChanged, this, &Tmode::delaiChange);
    connect(attendre_fin_son, &QCheckBox::toggled, this, [](bool coche) { reglages.attendre_fin_son = coche; });
    connect(BitBtn1, &QPushButton::clicked, this, &Tmode::BitBtn1Click);
    systeme::elargit_pour_legende(*this);
    reset();
}

int Tmode::valeur_delai() const { return delai_saisi(delai->findChild<QLineEdit *>()->text()); }

void Tmode::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void Tmode::FormShow()
{
    // Centred on the screen.
    if (const QScreen *ecran = screen() ? screen() : QGuiApplication::primaryScreen())
        move(centre_sur(ecran->availableGeometry(), frameGeometry().size()));
    {
        // Showing the stored delay is not a new delay.
        const QSignalBlocker silence(delai);
        delai->setValue(reglages.delai);
    }
    (reglages.mode_defilement == 1 ? manuel : automatique)->setChecked(true);
    reset();
}

void Tmode::manuelClick()
{
    reglages.delai = qint16(valeur_delai());
    manuel->setChecked(true);
    reset();
}

void Tmode::automatiqueClick()
{
    reglages.delai = qint16(valeur_delai());
    automatique->setChecked(true);
    reset();
}

void Tmode::delaiChange() { reglages.delai = qint16(valeur_delai()); }

void Tmode::b1Click()
{
    reglages.controle = 1;
    reset();
}

void Tmode::b2Click()
{
    reglages.controle = 2;
    reset();
}

void Tmode::BitBtn1Click()
{
    reglages.mode_defilement = manuel->isChecked() ? 1 : 2;
    reglages.delai = qint16(valeur_delai());
    accept();
}

void Tmode::reset()
{
    const bool a_la_main = manuel->isChecked();
    b1->setEnabled(a_la_main);
    b2->setEnabled(a_la_main);
    delai->setEnabled(!a_la_main);
    attendre_fin_son->setEnabled(!a_la_main);
    {
        const QSignalBlocker silence(delai);
        delai->setValue(std::clamp<int>(reglages.delai, 1, 60));
    }
    attendre_fin_son->setChecked(reglages.attendre_fin_son);
    const bool souris = reglages.controle == 1;
    b1->setFrameShadow(souris ? QFrame::Sunken : QFrame::Raised);
    b2->setFrameShadow(souris ? QFrame::Raised : QFrame::Sunken);
}

bool Tmode::eventFilter(QObject *objet, QEvent *evenement)
{
    if (evenement->type() == QEvent::MouseButtonRelease && static_cast<QWidget *>(objet)->isEnabled()) {
        if (objet == b1)
            b1Click();
        else if (objet == b2)
            b2Click();
    }
    return QDialog::eventFilter(objet, evenement);
}

void Tmode::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        systeme::aide(fichier_aide, 8);
    else
        QDialog::keyPressEvent(event);
}
