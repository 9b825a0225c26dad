#include "ostrel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <QTranslator>

#include "copie.h"
#include "dessins.h"
#include "image.h"
#include "langue.h"
#include "plateforme.h"

namespace lanceur {

namespace {

constexpr int QUIETUDE_MS = 6700;
// "Times New Roman" 36 point at 15 twips to a pixel.
constexpr int TAILLE_LEGENDE_PX = 48;
const QColor JAUNE(255, 255, 0);

QLabel *legende_vide(const QString &nom, const QColor &couleur, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(nom);
    QFont police(QStringLiteral("Times New Roman"));
    police.setPixelSize(TAILLE_LEGENDE_PX);
    police.setBold(true);
    label->setFont(police);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, couleur);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
    return label;
}

// The screen-wide hourglass for as long as it lives.
struct Sablier {
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier &) = delete;
    Sablier &operator=(const Sablier &) = delete;
};

}  // namespace

Ostrel::Ostrel(const QString &dossier, QWidget *parent)
    : QWidget(parent), dossier_(dossier), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("Ostrel"));
    setWindowTitle(TITRE_LANCEUR);

    Image1 = new Image(QStringLiteral("Image1"), this);
    Image1->setImage(QPixmap::fromImage(fond()));
    connect(Image1, &Image::MouseMove, this, &Ostrel::Image1_MouseMove);

    for (int i = 0; i <= NOMBRE_COINS; ++i) {
        Image2[i] = new QLabel(this);
        Image2[i]->setObjectName(nom_indice("Image2", i));
        if (i < NOMBRE_COINS)
            Image2[i]->setPixmap(QPixmap::fromImage(coin_allume(i)));
        Image2[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        Image2[i]->hide();
    }
    for (int i = 0; i <= NOMBRE_COINS; ++i)
        Label1[i] = legende_vide(nom_indice("Label1", i), Qt::black, this);
    for (int i = 0; i <= NOMBRE_COINS; ++i)
        Label2[i] = legende_vide(nom_indice("Label2", i), JAUNE, this);
    for (int i = 0; i < NOMBRE_COINS; ++i) {
        const PlaceLegende place = place_legende(i);
        const Qt::Alignment alignement =
            Qt::AlignTop | (place.a_droite ? Qt::AlignRight : Qt::AlignLeft);
        Label1[i]->setGeometry(place.rectangle);
        Label1[i]->setAlignment(alignement);
        Label2[i]->setAlignment(alignement);
    }

    const QCursor main_pointee = pointeur();
    for (int i = 0; i < NOMBRE_COINS; ++i) {
        Image3[i] = new Image(nom_indice("Image3", i), this);
        Image3[i]->setCursor(main_pointee);
        connect(Image3[i], &Image::MouseMove, this, [this, i] { Image3_MouseMove(i); });
        connect(Image3[i], &Image::MouseDown, this, [this, i] { Image3_MouseDown(i); });
    }

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(QUIETUDE_MS);
    connect(Timer1, &QTimer::timeout, this, &Ostrel::Timer1_Timer);
}

void Ostrel::Form_Load()
{
    CheminAppli = avec_separateur(dossier_);
    CodeLangue = LANGUE_DE_DEPART;
    // The picture fills the client area; the frame is the window manager's.
    setFixedSize(Image1->size());
    Traduction();
    if (const QScreen *ecran = QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - rect().center());
    show();
    repaint();
    plateforme().joue_son(CheminAppli + SON_ACCUEIL);
    Timer1->start();
}

namespace {

// The toolkit's own windows (the folder chooser) in the chosen language.
void traduit_dialogues(const QString &code)
{
    static QTranslator *traduction = new QTranslator(qApp);
    QCoreApplication::removeTranslator(traduction);
    if (traduction->load(QStringLiteral("qtbase_") + langue_qt(code),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traduction);
}

}  // namespace

void Ostrel::Traduction()
{
    traduit_dialogues(CodeLangue);
    // A corner lit meanwhile (on the way to the language window) goes dark, or
    // it would stay lit beside the next one.
    montre_coin(ZoneActive, false);
    ZoneActive = AUCUN_COIN;
    for (int i = 0; i < NOMBRE_COINS; ++i) {
        Image2[i]->setGeometry(place_coin(i, Image1->size(), Image2[i]->pixmap().size()));
        Image3[i]->setGeometry(Image2[i]->geometry());
    }
    for (int i = 0; i < NOMBRE_COINS; ++i)
        if (const auto texte = legende(CodeLangue, i))
            Label1[i]->setText(*texte);
    for (int i = 0; i < NOMBRE_COINS; ++i) {
        Label2[i]->setText(Label1[i]->text());
        Label2[i]->setGeometry(Label1[i]->geometry().translated(decalage_copie_jaune()));
    }
}

void Ostrel::montre_coin(int coin, bool visible)
{
    Image2[coin]->setVisible(visible);
    Label1[coin]->setVisible(visible);
    Label2[coin]->setVisible(visible);
}

void Ostrel::Image3_MouseMove(int coin)
{
    if (coin == ZoneActive)
        return;
    montre_coin(ZoneActive, false);
    montre_coin(coin, true);
    ZoneActive = coin;
    if (!Timer1->isActive())
        plateforme().joue_son(CheminAppli + SON_SURVOL);
}

void Ostrel::Image1_MouseMove()
{
    montre_coin(ZoneActive, false);
    ZoneActive = AUCUN_COIN;
}

void Ostrel::Timer1_Timer() { Timer1->stop(); }

void Ostrel::Image3_MouseDown(int coin)
{
    plateforme().joue_son(CheminAppli + SON_CLIC);
    Timer1->stop();
    switch (coin) {
    case COIN_LANGUE:
        montre_langue();
        break;
    case COIN_COPIE:
        if (!copie_archive())
            return;
        break;
    case COIN_INSTALLATION:
        // The installer speaks the language chosen here.
        plateforme().lance_programme(CheminAppli + INSTALLATION, {CodeLangue});
        break;
    case COIN_DEMO:
        lance_demo();
        break;
    }
    montre_coin(coin, false);
}

void Ostrel::montre_langue()
{
    if (!langue_) {
        langue_ = new Langue(CheminAppli, CodeLangue, this);
        connect(langue_, &Langue::langue_choisie, this, [this](const QString &code) {
            CodeLangue = code;
            Traduction();
        });
        langue_->move(mapToGlobal(Image3[COIN_LANGUE]->geometry().center()));
    }
    langue_->show();
    langue_->raise();
    langue_->activateWindow();
}

bool Ostrel::copie_archive()
{
    const QString dossier = plateforme().choisir_dossier(this, titre_copie(CodeLangue));
    if (dossier.isEmpty())
        return false;
    const Sablier sablier;
    // Failures are not reported: the user finds the archive in the folder or not.
    copie_fichier(CheminAppli + ARCHIVE, cible_copie(dossier));
    return true;
}

void Ostrel::lance_demo()
{
    const Sablier sablier;
    plateforme().attends(duree_attente(QTime::currentTime().msec()));
    plateforme().arrete_son();
    plateforme().lance_programme(CheminAppli + programme_demo(CodeLangue), {});
}

void Ostrel::closeEvent(QCloseEvent *event)
{
    plateforme().arrete_son();
    if (langue_)
        langue_->close();
    QWidget::closeEvent(event);
}

}  // namespace lanceur
