#include "Fplanche.h"

#include "diaporama.h"

#include "Fgauge.h"
#include "Info.h"
#include "Label3D.h"
#include "TMultiP.h"
#include "chemins.h"
#include "couleurs.h"
#include "fichier_sli.h"
#include "outils.h"
#include "systeme.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace {

QFont police(const QString &famille, int pixels, bool gras = false)
{
    QFont f(famille);
    f.setPixelSize(pixels);
    f.setBold(gras);
    return f;
}

// A double click of the left button confirms the choice.
bool choisit(const QMouseEvent *evenement)
{
    return evenement->type() == QEvent::MouseButtonDblClick && evenement->button() == Qt::LeftButton;
}

QToolButton *bouton_page(QWidget *parent, int gauche, int haut, QStyle::StandardPixmap glyphe,
                         const QString &aide)
{
    auto *b = place(new QToolButton(parent), gauche, haut, 22, 22);
    b->setIcon(parent->style()->standardIcon(glyphe));
    b->setToolTip(aide);
    return b;
}

}  // namespace

TPlanche::TPlanche(Tinfo_diapo *info, Tjauge *jauge, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      info_(info),
      jauge_(jauge)
{
    setObjectName(QStringLiteral("Planche"));
    setWindowTitle(QStringLiteral("PLANCHE D'IMAGES"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    setFixedSize(627, 437);

    const QColor face = vers_qcolor(clBtnFace);
    for (int k = 1; k <= VIGNETTES_PAR_PLANCHE; ++k) {
        const QString numero = QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
        cadre[k] = new QFrame(this);
        cadre[k]->setObjectName(QStringLiteral("cadre") + numero);
        cadre[k]->setGeometry(rectangle_cadre(k));
        cadre[k]->setFrameShape(QFrame::Panel);
        cadre[k]->setFrameShadow(QFrame::Raised);
        cadre[k]->setAutoFillBackground(true);
        image[k] = new TPMultiImage(cadre[k]);
        image[k]->setObjectName(QStringLiteral("image") + numero);
        image[k]->setCenter(true);
        image[k]->setImageDither(true);
        image[k]->setColor(face);
        image[k]->setReadReduction(zone_vignette());
        image[k]->setThumbnailCache(true);
        image[k]->setReadAhead(&vignettes_);
        nom[k] = place(new QLabel(cadre[k]), 5, 116, 144, 15);
        nom[k]->setObjectName(QStringLiteral("nom") + numero);
        nom[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        nom[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        nom[k]->setFont(police(QStringLiteral("Times New Roman"), 11));
        nom[k]->setAutoFillBackground(true);
        cadre[k]->installEventFilter(this);
        nom[k]->installEventFilter(this);
        // The control hands its double clicks on as mouse-downs too.
        connect(image[k], &TPMultiImage::OnMouseDown, this, [this, k](QMouseEvent *evenement) {
            fondMouseDown(k, evenement->button());
            if (choisit(evenement))
                BitBtn2Click();
        });
    }

    banque_precedente = bouton_page(this, 3, 413, QStyle::SP_ArrowLeft, QStringLiteral("Planche précédente"));
    BitBtn1 = bouton_page(this, 30, 413, QStyle::SP_ArrowRight, QStringLiteral("Planche Suivante"));
    planche_n = place(new QLabel(this), 59, 414, 405, 20);
    planche_n->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    planche_n->setAlignment(Qt::AlignCenter);
    planche_n->setFont(police(QStringLiteral("Times New Roman"), 16, true));
    BitBtn3 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                    QStringLiteral("Annuler"), this), 470, 413, 80, 22);
    BitBtn3->setToolTip(QStringLiteral("Annuler la sélection"));
    BitBtn2 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this),
                    556, 413, 67, 22);
    BitBtn2->setToolTip(QStringLiteral("Sélection"));
    BitBtn2->setDefault(true);

    connect(banque_precedente, &QToolButton::clicked, this, &TPlanche::Image4Click);
    connect(BitBtn1, &QToolButton::clicked, this, &TPlanche::Image3Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TPlanche::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TPlanche::BitBtn2Click);
}

void TPlanche::showEvent(QShowEvent *event)
{
    if (const QScreen *ecran = QGuiApplication::primaryScreen())
        centre_fenetre(*this, ecran->availableGeometry());
    QDialog::showEvent(event);
    FormShow();
}

void TPlanche::FormShow()
{
    choisi = false;
    navigation_ = NavigationPlanche(nombre_fiches() - 1);
    curseur_fiche = 0;
    affiche_planche();
    selection_image();
}

void TPlanche::affiche_planche()
{
    clear();
    navigation_.selectionne(1);
    selection_image();
    for (int k = 1; k <= VIGNETTES_PAR_PLANCHE; ++k) {
        nom[k]->clear();
        image[k]->hide();
        image[k]->ClearDisplay();
        charge_[k] = false;
    }
    // The page's pictures decode ahead on every core while the slots fill in order;
    // those of the page before that were never shown (an error box) are stopped.
    vignettes_.vide();
    for (int k = 1; k <= VIGNETTES_PAR_PLANCHE; ++k) {
        if (const int diapo = navigation_.diapo(k)) {
            const QString stocke = Diaporama::courant().diapo(diapo).chemin_image.valeur();
            if (!stocke.isEmpty())
                image[k]->PrefetchImageName(chemin_de_fiche(stocke));
        }
    }
    {
        const Tjauge::Ouverte jauge(*jauge_, QStringLiteral("Chargement des Images"));
        for (int k = 1; k <= VIGNETTES_PAR_PLANCHE; ++k) {
            jauge_->avance(valeur_jauge(k, navigation_.diapos()));
            if (const int diapo = navigation_.diapo(k)) {
                curseur_fiche = diapo;
                affiche_image(k);
            }
        }
    }
    for (int k = 1; k <= VIGNETTES_PAR_PLANCHE; ++k)
        image[k]->show();
    planche_n->setText(QStringLiteral("PLANCHE N° ") + QString::number(navigation_.page()));
}

void TPlanche::affiche_image(int emplacement)
{
    const QString stocke = Diaporama::courant().diapo(curseur_fiche).chemin_image.valeur();
    TPMultiImage *vignette = image[emplacement];
    const QString chemin = chemin_de_fiche(stocke);
    // Every slide has a caption, so that each one can be selected, with or without a picture.
    if (stocke.isEmpty() || !fichier_present(chemin)) {
        vignette->ClearDisplay();
        nom[emplacement]->setText(stocke.isEmpty() ? extrait_fichier(stocke)
                                                   : QStringLiteral("Image non trouvée"));
        return;
    }
    vignette->setImageName(chemin);
    // The file's size places the thumbnail, turned as the picture is shown (a photo turned by its EXIF).
    const PlacementVignette placement =
        place_vignette(taille_droite(QSize(vignette->InfoWidth, vignette->InfoHeight), vignette->Picture().size()));
    vignette->setStretch(placement.etire);
    vignette->setGeometry(placement.rectangle);
    nom[emplacement]->setText(extrait_fichier(stocke));
    charge_[emplacement] = true;
}

void TPlanche::colore(int emplacement, qint32 couleur)
{
    for (QWidget *w : {static_cast<QWidget *>(cadre[emplacement]), static_cast<QWidget *>(nom[emplacement])}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, vers_qcolor(couleur));
        w->setPalette(p);
    }
}

void TPlanche::clear() { colore(navigation_.selection(), clBtnFace); }

void TPlanche::selection_image() { colore(navigation_.selection(), clActiveCaption); }

void TPlanche::fondMouseDown(int emplacement, Qt::MouseButton bouton)
{
    if (nom[emplacement]->text().isEmpty())
        return;
    clear();
    navigation_.selectionne(emplacement);
    selection_image();
    if (bouton == Qt::RightButton)
        affiche_detail();
}

void TPlanche::BitBtn2Click()
{
    const int diapo = navigation_.diapo_choisie();
    if (diapo == 0)
        return;
    curseur_fiche = diapo;
    choisi = true;
    accept();
}

void TPlanche::BitBtn3Click() { reject(); }

void TPlanche::Image4Click()
{
    if (navigation_.precedente())
        affiche_planche();
}

void TPlanche::Image3Click()
{
    if (navigation_.suivante())
        affiche_planche();
}

void TPlanche::affiche_detail()
{
    const int k = navigation_.selection();
    const TPMultiImage *v = image[k];
    // A slot without a picture of its own shows an empty description, not the one its control held before.
    const bool charge = charge_[k];
    const auto nombre = [charge](qint64 valeur) { return charge ? QString::number(valeur) : QString(); };
    info_->info_type->setText(charge ? v->InfoType : QString());
    info_->info_largeur->setText(nombre(v->InfoWidth));
    info_->info_hauteur->setText(nombre(v->InfoHeight));
    info_->info_taille->setText(nombre(v->InfoFileSize));
    info_->info_couleurs->setText(nombre(v->InfoColors));
    info_->info_bits->setText(nombre(v->InfoBitsPerPixel));
    info_->info_densite->setText(nombre(v->InfoDensity));
    info_->info_compression->setText(charge ? v->InfoCompression : QString());
    // The sheet repaints before the next window covers it.
    for (int fois = 0; fois < 11; ++fois)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    info_->numero = navigation_.diapo(k);
    systeme::execute(*info_);
}

void TPlanche::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        BitBtn3->click();
    else
        QDialog::keyPressEvent(event);
}

void TPlanche::wheelEvent(QWheelEvent *event)
{
    // One notch of a wheel is 120; turned down (toward the user) it goes to the next page.
    roue_ += event->angleDelta().y();
    for (; roue_ <= -120; roue_ += 120)
        Image3Click();
    for (; roue_ >= 120; roue_ -= 120)
        Image4Click();
    event->accept();
}

bool TPlanche::eventFilter(QObject *objet, QEvent *evenement)
{
    if (evenement->type() == QEvent::MouseButtonPress || evenement->type() == QEvent::MouseButtonDblClick) {
        for (int k = 1; k <= VIGNETTES_PAR_PLANCHE; ++k) {
            if (objet != cadre[k] && objet != nom[k])
                continue;
            auto *souris = static_cast<QMouseEvent *>(evenement);
            fondMouseDown(k, souris->button());
            // A double click chooses on the frame, not on the name panel.
            if (objet == cadre[k] && choisit(souris))
                BitBtn2Click();
            return true;
        }
    }
    return QDialog::eventFilter(objet, evenement);
}

std::optional<int> TPlanche::diapo_choisie()
{
    systeme::execute(*this);
    return choisi ? std::optional<int>(curseur_fiche) : std::nullopt;
}
