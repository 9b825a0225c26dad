#include "Splash.h"

#include "Label3D.h"
#include "application.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {

constexpr int LONGUEUR_VERSION = 6;

QFont times(int pixels)
{
    QFont police(QStringLiteral("Times New Roman"));
    police.setPixelSize(pixels);
    police.setBold(true);
    police.setItalic(true);
    return police;
}

void fixe_couleur_texte(QWidget *label, const QColor &couleur)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, couleur);
    label->setPalette(palette);
}

}  // namespace

QString nom_logiciel(const QString &titre)
{
    return titre.size() > LONGUEUR_VERSION ? titre.chopped(LONGUEUR_VERSION) : QString();
}

TLabel3D *cree_logiciel(QWidget *parent, int largeur, int haut)
{
    auto *label = new TLabel3D(parent);
    label->setObjectName(QStringLiteral("logiciel"));
    label->setFont(times(48));
    fixe_couleur_texte(label, Qt::white);
    label->setShadowColor(Qt::black);
    label->setTransparent(true);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(0, haut, largeur, label->fontMetrics().height() + 1);
    return label;
}

void centre_sur_ecran(QWidget &fenetre)
{
    const QScreen *ecran = fenetre.screen() ? fenetre.screen() : QGuiApplication::primaryScreen();
    QRect place(QPoint(0, 0), fenetre.size());
    place.moveCenter(ecran->geometry().center());
    fenetre.move(place.topLeft());
}

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(324, 200);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rect());
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(QStringLiteral(":/decor/splash.png")));
    logiciel = cree_logiciel(this, width(), 112);

    Label3D1 = new TLabel3D(QStringLiteral("Chargement en cours ..."), this);
    Label3D1->setObjectName(QStringLiteral("Label3D1"));
    Label3D1->setFont(times(19));
    fixe_couleur_texte(Label3D1, Qt::red);
    Label3D1->setShadowColor(Qt::black);
    Label3D1->setTransparent(true);
    Label3D1->move(67, 172);
    Label3D1->resize(Label3D1->sizeHint());

    FormCreate();
    centre_sur_ecran(*this);
    show();
}

void TSplashForm::attends_d_etre_vu(int plus_longtemps)
{
    QWindow *fenetre = windowHandle();
    if (fenetre && !fenetre->isExposed()) {
        // The expose event arrives when the window manager has mapped the window.
        QEventLoop boucle;
        QTimer attente;
        attente.setInterval(5);
        QObject::connect(&attente, &QTimer::timeout, &boucle, [&] {
            if (fenetre->isExposed())
                boucle.quit();
        });
        QTimer::singleShot(plus_longtemps, &boucle, &QEventLoop::quit);
        attente.start();
        boucle.exec();
    }
    repaint();
    QCoreApplication::processEvents();
}

std::unique_ptr<TSplashForm> montre_splash()
{
    auto splash = std::make_unique<TSplashForm>();
    splash->attends_d_etre_vu();
    return splash;
}

// The background picture covers the whole window: no brush of its own.
void TSplashForm::FormCreate() { setAttribute(Qt::WA_NoSystemBackground); }

void TSplashForm::FormShow() { logiciel->setText(nom_logiciel(titre_application)); }

void TSplashForm::showEvent(QShowEvent *event)
{
    FormShow();
    QWidget::showEvent(event);
}
