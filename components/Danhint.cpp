#include "Danhint.h"

#include "couleurs.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>

namespace {

QList<TDanHint *> &composants()
{
    static QList<TDanHint *> liste;
    return liste;
}

// The application's style with the tooltip delay of the hints.
class StyleDelaiBulle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int delai = 600;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *retour) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return delai;
        return QProxyStyle::styleHint(hint, option, widget, retour);
    }
};

void fixe_delai_bulles(int millisecondes)
{
    auto *style = dynamic_cast<StyleDelaiBulle *>(QApplication::style());
    if (!style) {
        style = new StyleDelaiBulle(QStyleFactory::create(QApplication::style()->name()));
        QApplication::setStyle(style);
    }
    style->delai = millisecondes;
}

// A balloon that nobody dismisses goes away after this long.
constexpr int DUREE_BULLE = 10000;
// The window property that holds its balloons off (sans_bulles).
constexpr char kSansBulles[] = "vista_sans_bulles";

// Shows the balloon in place of the toolkit's tooltip for every widget that has
// a tooltip text, and hides it when the mouse leaves the widget or the user acts.
class InstallationBulles : public QObject {
public:
    static InstallationBulles &instance()
    {
        if (!installation)
            installation = new InstallationBulles;
        return *installation;
    }

    static TNewHint *fenetre_installee() { return installation ? installation->fenetre_ : nullptr; }

    // Hides the balloon on show; the next tooltip takes the settings anew.
    void renouvelle()
    {
        cache();
        if (!fenetre_)
            fenetre_ = new TNewHint;
    }

    void cache()
    {
        extinction_.stop();
        proprietaire_ = nullptr;
        if (fenetre_)
            fenetre_->hide();
    }

protected:
    bool eventFilter(QObject *objet, QEvent *evenement) override
    {
        switch (evenement->type()) {
        case QEvent::ToolTip:
            return montre(objet);
        case QEvent::Leave:
            if (objet == proprietaire_)
                cache();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::ApplicationDeactivate:
            if (fenetre_ && fenetre_->isVisible())
                cache();
            break;
        default:
            break;
        }
        return false;
    }

private:
    InstallationBulles() : QObject(qApp)
    {
        extinction_.setSingleShot(true);
        connect(&extinction_, &QTimer::timeout, this, &InstallationBulles::cache);
        qApp->installEventFilter(this);
    }

    ~InstallationBulles() override { delete fenetre_; }

    // A widget without a tooltip text of its own leaves the event to its parent
    // (or to its own tooltips, as item views have).
    bool montre(QObject *objet)
    {
        auto *controle = qobject_cast<QWidget *>(objet);
        if (controle && controle->window()->property(kSansBulles).toBool())
            return true;
        if (!controle || controle->toolTip().isEmpty() || !TDanHint::premier())
            return false;
        renouvelle();
        TNewHint *bulle = fenetre_;
        const QScreen *ecran = controle->screen();
        const QRect R = bulle->CalcHintRect(ecran->geometry().width() - 22, controle->toolTip());
        bulle->ActivateHint(R.translated(QCursor::pos()), controle->toolTip());
        proprietaire_ = controle;
        extinction_.start(DUREE_BULLE);
        return true;
    }

    static inline QPointer<InstallationBulles> installation;
    QPointer<TNewHint> fenetre_;
    QPointer<QWidget> proprietaire_;
    QTimer extinction_;
};

// What the screen shows under `zone`; transparent where it cannot be read.
QImage copie_ecran(QScreen &ecran, const QRect &zone)
{
    QImage image(zone.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QPoint origine = ecran.geometry().topLeft();
    const QPixmap copie = ecran.grabWindow(0, zone.x() - origine.x(), zone.y() - origine.y(),
                                           zone.width(), zone.height());
    if (!copie.isNull()) {
        QPainter p(&image);
        p.drawPixmap(QRect(QPoint(0, 0), zone.size()), copie);
    }
    return image;
}

}  // namespace

TDanHint::TDanHint(QObject *owner)
    : QObject(owner),
      couleur_(vers_qcolor(0x00FFFF)),
      ombre_(vers_qcolor(0x800080)),
      police_(QStringLiteral("MS Sans Serif"), 12, QFont::Bold, true),
      couleur_police_(vers_qcolor(0xFF0000))
{
    composants().append(this);
    setHintPauseTime(pause_);
    InstallationBulles::instance().renouvelle();
}

TDanHint::~TDanHint() { composants().removeOne(this); }

void TDanHint::setHintFont(const QFont &police, const QColor &couleur)
{
    police_ = police;
    couleur_police_ = couleur;
    InstallationBulles::instance().renouvelle();
}

void TDanHint::setHintPauseTime(int millisecondes)
{
    pause_ = millisecondes;
    fixe_delai_bulles(millisecondes);
}

StyleBulle TDanHint::style_bulle() const { return {couleur_, ombre_, police_, couleur_police_}; }

void sans_bulles(QWidget &fenetre, bool sans)
{
    fenetre.setProperty(kSansBulles, sans);
    if (sans)
        InstallationBulles::instance().cache();
}

TDanHint *TDanHint::premier() { return composants().isEmpty() ? nullptr : composants().first(); }

TNewHint::TNewHint()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TNewHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Where the screen cannot be read, what lies under the balloon shows through.
    setAttribute(Qt::WA_TranslucentBackground);
}

QRect TNewHint::CalcHintRect(int largeur_max, const QString &texte) const
{
    const TDanHint *composant = TDanHint::premier();
    const QFont police = composant ? composant->HintFont() : font();
    return QRect(QPoint(0, 0), taille_texte_bulle(texte, police, largeur_max));
}

void TNewHint::ActivateHint(const QRect &R, const QString &texte)
{
    const TDanHint *composant = TDanHint::premier();
    if (!composant)
        return;
    setWindowTitle(texte);
    const QPoint souris = QCursor::pos();
    QScreen *ecran = QGuiApplication::screenAt(souris);
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();

    THintDirection direction = composant->HintDirection();
    if (composant->OnSelectHintDirection)
        composant->OnSelectHintDirection(QApplication::widgetAt(souris), direction);
    const PlacementBulle place = place_bulle(R.size(), souris, ecran->geometry(), direction);

    direction_ = place.direction;
    style_ = composant->style_bulle();
    hide();
    setGeometry(place.rectangle);
    copie_ecran_ = copie_ecran(*ecran, place.rectangle);
    recouvre_bulle_cachee();
    show();
    update();
}

void TNewHint::hideEvent(QHideEvent *)
{
    dessous_cache_ = copie_ecran_;
    place_cachee_ = geometry();
    depuis_cache_.start();
}

// A balloon hidden a moment ago may still be on the screen (the windows under
// it have not repainted yet): where the copy overlaps it, what lay under it is put back.
void TNewHint::recouvre_bulle_cachee()
{
    constexpr int DELAI_REPEINTE = 250;
    if (!depuis_cache_.isValid() || depuis_cache_.elapsed() > DELAI_REPEINTE || dessous_cache_.isNull())
        return;
    QPainter p(&copie_ecran_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(place_cachee_.topLeft() - geometry().topLeft(), dessous_cache_);
}

void TNewHint::paintEvent(QPaintEvent *)
{
    // Each painting starts again from the screen copy.
    QImage image = copie_ecran_;
    dessine_bulle(image, direction_, windowTitle(), style_);
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image);
}

TNewHint *fenetre_bulle() { return InstallationBulles::fenetre_installee(); }
