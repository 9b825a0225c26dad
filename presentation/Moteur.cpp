#include "Moteur.h"

#include "diaporama.h"

#include "TMultiP.h"
#include "reduction.h"
#include "animation.h"
#include "dessin_diapo.h"
#include "chemins.h"
#include "couleurs.h"
#include "imagefile.h"
#include "systeme.h"
#include "config_sli.h"
#include "duree_son.h"
#include "mpris.h"

#include <QApplication>
#include <algorithm>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QIcon>
#include <QTimer>
#include <QToolButton>

namespace {

// Every path out of a slide's display gives the input back and restarts the timer,
// an error box on the way included.
class FinAffichage {
public:
    explicit FinAffichage(Tlance_diaporama &fenetre) : fenetre_(fenetre) {}
    ~FinAffichage()
    {
        fenetre_.setEnabled(true);
        fenetre_.setFocus();
        if (reglages.mode_defilement == 2 && !fenetre_.en_pause)
            fenetre_.Timer1->start(fenetre_.duree_restante());
    }
    FinAffichage(const FinAffichage &) = delete;
    FinAffichage &operator=(const FinAffichage &) = delete;

private:
    Tlance_diaporama &fenetre_;
};

}  // namespace

Tlance_diaporama::Tlance_diaporama(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("lance_diaporama"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QPalette noir = palette();
    noir.setColor(QPalette::Window, Qt::black);
    setPalette(noir);
    setAutoFillBackground(true);

    diapositive = new TPMultiImage(this);
    diapositive->setObjectName(QStringLiteral("diapositive"));
    diapositive->setColor(Qt::black);
    diapositive->setCenter(true);
    // At its own size and centred: the control keeps the window's size (a control
    // sized to the picture would no longer centre it on the screen).
    diapositive->setAutoSize(false);
    diapositive->setImageDither(true);
    diapositive->setStretch(false);
    diapositive->setStretchRatio(false);
    diapositive->setTabStop(false);
    connect(diapositive, &TPMultiImage::OnMouseDown, this, &Tlance_diaporama::diapositive_MouseDown);

    message_image = new QLabel(this);
    message_image->setObjectName(QStringLiteral("message_image"));
    message_image->setAlignment(Qt::AlignCenter);
    message_image->setWordWrap(true);
    QPalette blanc = message_image->palette();
    blanc.setColor(QPalette::WindowText, Qt::white);
    message_image->setPalette(blanc);
    message_image->hide();

    pave = new QFrame(this);
    pave->setObjectName(QStringLiteral("pave"));
    pave->setFrameShape(QFrame::Panel);
    pave->setFrameShadow(QFrame::Sunken);
    pave->setLineWidth(3);
    pave->resize(106, 30);
    QPalette barre = pave->palette();
    barre.setColor(QPalette::Window, vers_qcolor(clActiveCaption));
    pave->setPalette(barre);
    pave->setAutoFillBackground(true);
    pave->installEventFilter(this);
    struct Bouton { QToolButton *&bouton; const char *nom; const char *aide; const char *glyphe;
                    int gauche; Mouvement mouvement; };
    const Bouton boutons[] = {
        {lg, "lg", "Première diapositive", "premiere", 24, Mouvement::Premiere},
        {g, "g", "Diapositive précédente", "precedente", 43, Mouvement::Precedente},
        {d, "d", "Diapositive suivante", "suivante", 62, Mouvement::Suivante},
        {ld, "ld", "Dernière diapositive", "derniere", 81, Mouvement::Derniere},
    };
    const auto glyphe = [](const char *nom) {
        return QIcon(QStringLiteral(":/glyphes/%1.png").arg(QLatin1String(nom)));
    };
    sortir = new QToolButton(pave);
    sortir->setObjectName(QStringLiteral("sortir"));
    sortir->setToolTip(QStringLiteral("Stopper le diaporama"));
    sortir->setIcon(glyphe("sortir"));
    sortir->setGeometry(5, 5, 20, 20);
    connect(sortir, &QToolButton::clicked, this, &Tlance_diaporama::sortirClick);
    for (const Bouton &b : boutons) {
        b.bouton = new QToolButton(pave);
        b.bouton->setObjectName(QLatin1String(b.nom));
        b.bouton->setToolTip(QString::fromUtf8(b.aide));
        b.bouton->setIcon(glyphe(b.glyphe));
        b.bouton->setGeometry(b.gauche, 5, 20, 20);
        connect(b.bouton, &QToolButton::clicked, this, [this, m = b.mouvement] { deplace(m); });
    }
    // The keys stay with the window while the pad is used.
    for (QToolButton *b : {sortir, lg, g, d, ld}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setIconSize(QSize(16, 16));
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tlance_diaporama::Timer1Timer);

    animation = new AnimationIdle(this);

    // FormCreate
    pave->move(10, 30);
    pave->hide();
}

Tlance_diaporama::~Tlance_diaporama() = default;

int Tlance_diaporama::duree_restante() const
{
    // The delay held to 1..60 seconds: a damaged SLI.CFG must not make the show race or stall.
    const int delai = std::clamp<int>(reglages.delai, 1, 60) * 1000;
    const qint64 son_restant = std::max<qint64>(0, duree_son - debut_diapo.elapsed());
    return duree_diapo(delai, int(son_restant), reglages.attendre_fin_son);
}

void Tlance_diaporama::resizeEvent(QResizeEvent *event)
{
    diapositive->setGeometry(rect());
    message_image->setGeometry(rect().adjusted(40, 40, -40, -40));
    QDialog::resizeEvent(event);
}

void Tlance_diaporama::showEvent(QShowEvent *event)
{
    // The whole screen at once, so that the show starts at the size it keeps.
    if (const QScreen *ecran = screen())
        setGeometry(ecran->geometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    QDialog::showEvent(event);
    // Once the window is on screen, as its activation would.
    QMetaObject::invokeMethod(this, &Tlance_diaporama::FormActivate, Qt::QueuedConnection);
}

void Tlance_diaporama::hideEvent(QHideEvent *event)
{
    Timer1->stop();
    mpris.reset();
    animation->detach();
    lecture.vide();
    if (economiseur_suspendu) {
        economiseur_suspendu = false;
        systeme::suspend_economiseur(false);
    }
    QDialog::hideEvent(event);
}

void Tlance_diaporama::FormActivate()
{
    if (!premiere_activation || !isVisible())
        return;
    premiere_activation = false;
    if (!economiseur_suspendu) {
        economiseur_suspendu = true;
        systeme::suspend_economiseur(true);
    }
    animation->attach(diapositive);
    // The show reads its records into copies of its own: the editor's buffer stays as it is.
    defauts = Diaporama::courant().diapo(0);
    diapo_courante = 1;
    en_pause = false;
    pave->hide();
    // The timer of an automatic show starts once its first slide is up.
    Timer1->stop();
    if (reglages.mode_defilement != 2 && reglages.controle == 2) {
        pave->move(place_pave(size()));
        pave->show();
        pave->raise();
    }
    affiche_diapositive();
    mpris.reset();  // the bus object's path is free before the new one takes it
    mpris = std::make_unique<Mpris>(*this);
}

int Tlance_diaporama::profondeur() const
{
    return ReadDepth(diapositive->ImageReadRes(), DisplayColorBits(diapositive));
}

QSize Tlance_diaporama::ecran() const { return diapositive->size() * devicePixelRatioF(); }

QString Tlance_diaporama::montre_image(const QString &chemin)
{
    const sky::FormatRow *format = PictureFormatOfPath(chemin);
    if (!format) {
        // Icons, metafiles and scrolling messages: the control's own reading.
        diapositive->setImageName(chemin);
        return {};
    }
    QImage image = lecture.prise(chemin, ecran(), profondeur());
    QString echec;
    if (image.isNull()) {
        QImage lue;
        if (PrepareImageFile(format->format, chemin, profondeur(), diapositive->ImageDither(), lue, ecran(), &echec))
            image = image_pour_ecran(lue, ecran());
    }
    if (image.isNull()) {
        diapositive->setPicture(TPicture());
        return echec;
    }
    image.setDevicePixelRatio(devicePixelRatioF());
    diapositive->setPicture(TPicture::fromBitmap(image));
    return {};
}

void Tlance_diaporama::signale_image(const QString &message)
{
    if (reglages.mode_defilement == 2) {
        message_image->setText(message);
        message_image->show();
        message_image->raise();
    } else {
        systeme::boite(systeme::TypeBoite::Erreur, message);
    }
}

void Tlance_diaporama::affiche_diapositive()
{
    diapositive->setText(QString());
    diapositive->LayoutCaption();
    if (reglages.mode_defilement == 2)
        Timer1->stop();
    setEnabled(false);
    move(0, 0);
    FinAffichage fin(*this);

    const FicheDiapo diapo = Diaporama::courant().diapo(diapo_courante);
    message_image->hide();
    const QString image = chemin_de_fiche(diapo.chemin_image.valeur());
    const QString nommee = QStringLiteral("\"") + image + QStringLiteral("\"\n");
    if (!image.isEmpty() && fichier_present(image)) {
        if (const QString echec = montre_image(image); !echec.isEmpty())
            signale_image(nommee + echec);
    } else {
        diapositive->setPicture(TPicture());
        if (!image.isEmpty())
            signale_image(nommee + QStringLiteral("Cette photo n'existe plus"));
    }
    const Legende legende = legende_de(diapo, defauts);
    diapositive->setText(legende.texte);
    diapositive->setFontColor(legende.couleur_texte);
    diapositive->setFont(legende.police);
    diapositive->setTextTransParent(legende.transparente);
    diapositive->CaptionColor = legende.couleur_fond;
    diapositive->setTextop(legende.en_haut);
    diapositive->LayoutCaption();
    // Drawn now, before the sound starts and before the next pictures are read.
    diapositive->repaint();

    duree_son = 0;
    debut_diapo.start();
    if (!diapo.chemin_son.est_vide()) {
        const QString son = chemin_de_fiche(diapo.chemin_son.valeur());
        if (reglages.mode_defilement == 2 && reglages.attendre_fin_son)
            duree_son = systeme::duree_son_wav(son);
        systeme::joue_son_diapo(son);
    }
    anticipe();
    emit etat_change();
}

void Tlance_diaporama::anticipe()
{
    const int n = nombre_fiches() - 1;
    QStringList chemins;
    // The next slide first: it is the one most often asked for.
    for (Mouvement m : {Mouvement::Suivante, Mouvement::Precedente, Mouvement::Premiere, Mouvement::Derniere}) {
        const QString chemin =
            chemin_de_fiche(Diaporama::courant().diapo(diapo_apres(m, diapo_courante, n)).chemin_image.valeur());
        if (!chemin.isEmpty() && !chemins.contains(chemin))
            chemins << chemin;
    }
    lecture.garde(chemins);
    for (const QString &chemin : chemins)
        lecture.prepare(chemin, ecran(), profondeur(), diapositive->ImageDither());
}

void Tlance_diaporama::deplace(Mouvement mouvement)
{
    diapo_courante = diapo_apres(mouvement, diapo_courante, nombre_fiches() - 1);
    affiche_diapositive();
}

void Tlance_diaporama::Timer1Timer()
{
    // A box the show raised (a sound that cannot be opened) holds the show until it is closed.
    if (QWidget *modale = QApplication::activeModalWidget(); modale && modale != this)
        return;
    deplace(Mouvement::Minuterie);
}

void Tlance_diaporama::sortirClick()
{
    Timer1->stop();
    accept();
}

void Tlance_diaporama::keyPressEvent(QKeyEvent *event)
{
    if (!isEnabled())
        return;
    switch (event->key()) {
    // Presentation remote controls send Page Down and Page Up.
    case Qt::Key_Right:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: deplace(Mouvement::Suivante); break;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
    case Qt::Key_Backspace: deplace(Mouvement::Precedente); break;
    case Qt::Key_P: bascule_pause(); break;
    case Qt::Key_Home: deplace(Mouvement::Premiere); break;
    case Qt::Key_End: deplace(Mouvement::Derniere); break;
    case Qt::Key_Escape: sortirClick(); break;
    default: break;
    }
}

void Tlance_diaporama::bascule_pause()
{
    if (reglages.mode_defilement != 2)
        return;
    en_pause = !en_pause;
    if (en_pause)
        Timer1->stop();
    else
        Timer1->start(duree_restante());
    emit etat_change();
}

void Tlance_diaporama::diapositive_MouseDown(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        deplace(Mouvement::Precedente);
    else if (event->button() == Qt::RightButton)
        deplace(Mouvement::Suivante);
}

bool Tlance_diaporama::eventFilter(QObject *objet, QEvent *evenement)
{
    if (objet != pave)
        return QDialog::eventFilter(objet, evenement);
    switch (evenement->type()) {
    case QEvent::MouseButtonPress:
        glisse_pave = static_cast<QMouseEvent *>(evenement)->button() == Qt::LeftButton;
        return glisse_pave;
    case QEvent::MouseMove:
        if (glisse_pave)
            pave->move(mapFromGlobal(static_cast<QMouseEvent *>(evenement)->globalPosition().toPoint()));
        return glisse_pave;
    case QEvent::MouseButtonRelease:
        if (!glisse_pave)
            return false;
        glisse_pave = false;
        pave->move(mapFromGlobal(static_cast<QMouseEvent *>(evenement)->globalPosition().toPoint()));
        pave->show();
        return true;
    default:
        return QDialog::eventFilter(objet, evenement);
    }
}
