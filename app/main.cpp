#include "main.h"

#include "ajustement.h"
#include "config_sli.h"
#include "cp1252.h"
#include "curseurs.h"
#include "chemins.h"
#include "fichier_sli.h"
#include "progression.h"
#include "systeme.h"
#include "TMultiP.h"
#include "animation.h"
#include "imagefile.h"
#include "Poubelle.h"
#include "digital.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

QString titre_application;
QString dossier_depart;
QRect rectangle_principal;

namespace {

constexpr int CURSEUR_DEPLACE_DIAPO = 150;
const QString PAS_D_IMAGE = QStringLiteral("PAS D'IMAGE");

QToolButton *bouton(QWidget *parent, const QString &aide, QStyle::StandardPixmap icone,
                    const QString &texte = {})
{
    auto *b = new QToolButton(parent);
    b->setToolTip(aide);
    b->setIcon(parent->style()->standardIcon(icone));
    if (!texte.isEmpty()) {
        b->setText(texte);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    return b;
}

QFrame *emplacement(QWidget *parent, const QString &nom, QSize taille)
{
    auto *f = new QFrame(parent);
    f->setObjectName(nom);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    f->setFixedSize(taille);
    return f;
}

}  // namespace

TForm1::TForm1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    creer_menus();
    creer_barre_outils();

    auto *centre = new QWidget(this);
    auto *disposition = new QHBoxLayout(centre);
    disposition->addWidget(creer_editeur(), 3);
    disposition->addWidget(creer_scenario(), 1);
    setCentralWidget(centre);
    creer_ligne_etat();

    // FormCreate
    QApplication::setApplicationDisplayName(titre_application);
    barre_info->setText(QStringLiteral("  ") + titre_application +
                        QStringLiteral(" - composez et présentez vos diaporamas"));
    fixe_jauge_principale(this, gauge1);
    fixe_fin_application(false);
    ProgressCallback = progression;
    animation = new AnimationIdle(this);
    attache_animation(true);
    dossier_depart = QDir::currentPath() + QLatin1Char('/');
    fixe_dossier_config(dossier_depart);
    poubelle->fixe_dossier_sons(dossier_depart);
    enregistre_curseur(CURSEUR_DEPLACE_DIAPO, charge_curseur(QStringLiteral("deplace_diapositive")));
    Liste->setCursor(curseur_ecran(CURSEUR_DEPLACE_DIAPO));
    poubelle->fixe_etat(false);
    nom_diaporama.clear();
    position_main();
    diapo_courante = -2;
    active_diapo(false);
    active_commande();
    setWindowTitle(titre_application);

    minuterie_depart = new QTimer(this);
    minuterie_depart->setSingleShot(true);
    minuterie_depart->setInterval(1000);
    connect(minuterie_depart, &QTimer::timeout, this, &TForm1::demarrage_differe);
    minuterie_depart->start();
}

TForm1::~TForm1()
{
    ProgressCallback = nullptr;
    fixe_jauge_principale(nullptr, nullptr);
}

void TForm1::attache_animation(bool attache)
{
    if (attache)
        animation->attach(photo);
    else
        animation->detach();
}

void TForm1::creer_menus()
{
    Fichier_me = menuBar()->addMenu(QStringLiteral("&Fichier"));
    Ouvrirundiaporama1 = Fichier_me->addAction(QStringLiteral("&Ouvrir ou Créer un diaporama"));
    Fermerundiaporama_me = Fichier_me->addAction(QStringLiteral("&Fermer un diaporama"));
    Fichier_me->addSeparator();
    Conversiondimages1 = Fichier_me->addAction(QStringLiteral("&Conversion d'images"));
    Visualiseurdimages1 = Fichier_me->addAction(QStringLiteral("&Visualiseur d'images"));
    Fichier_me->addSeparator();
    Configurationduscanner1 = Fichier_me->addAction(QStringLiteral("Configuration du &scanner"));
    Configurationdelimprimante1 =
        Fichier_me->addAction(QStringLiteral("Configuration de l'&imprimante"));
    Fichier_me->addSeparator();
    Quitter1 = Fichier_me->addAction(QStringLiteral("&Quitter"));

    Visualisation_me = menuBar()->addMenu(QStringLiteral("&Visualisation"));
    Planchedimage1 = Visualisation_me->addAction(QStringLiteral("&Planche d'image"));
    Imagetaillenormal1 = Visualisation_me->addAction(QStringLiteral("&Image taille normal"));
    Infosurlimage1 = Visualisation_me->addAction(QStringLiteral("&Info sur l'image"));

    option_me = menuBar()->addMenu(QStringLiteral("&Option"));
    Modededfilement2 = option_me->addAction(QStringLiteral("&Mode de défilement"));
    Textepardefault1 = option_me->addAction(QStringLiteral("&Option d'affichage (par défaut)"));
    option_me->addSeparator();
    Manipulationdelimage1 = option_me->addAction(QStringLiteral("M&anipulation de l'image"));
    Conversiondelimage1 = option_me->addAction(QStringLiteral("&Conversion de l'image"));

    Edition_me = menuBar()->addMenu(QStringLiteral("&Edition"));
    Image2 = Edition_me->addAction(QStringLiteral("&Image"));
    N4 = Edition_me->addAction(QStringLiteral("&Scénario"));

    Aide_me = menuBar()->addMenu(QStringLiteral("&Aide"));
    Documentation1 = Aide_me->addAction(QStringLiteral("Documentation"));
    Apropos1 = Aide_me->addAction(QStringLiteral("A propos"));

    PopupMenu1 = new QMenu(this);
    Image1 = PopupMenu1->addAction(QStringLiteral("&Image"));
    Scnario1 = PopupMenu1->addAction(QStringLiteral("&Scénario"));

    connect(Ouvrirundiaporama1, &QAction::triggered, this, &TForm1::ouvrir_diaporama);
    connect(Fermerundiaporama_me, &QAction::triggered, this, &TForm1::fermer_diaporama);
    connect(Configurationduscanner1, &QAction::triggered, this, &TForm1::Configurationduscanner1Click);
    connect(Configurationdelimprimante1, &QAction::triggered, this,
            &TForm1::Configurationdelimprimante1Click);
    connect(Quitter1, &QAction::triggered, this, &QWidget::close);
    connect(Planchedimage1, &QAction::triggered, this, &TForm1::planche_btClick);
    connect(Imagetaillenormal1, &QAction::triggered, this, &TForm1::normal_btClick);
    connect(Manipulationdelimage1, &QAction::triggered, this, &TForm1::manipulation_btClick);
    connect(Conversiondelimage1, &QAction::triggered, this, &TForm1::conversion_btClick);
    connect(Documentation1, &QAction::triggered, this, &TForm1::Documentation1Click);
}

void TForm1::creer_barre_outils()
{
    QToolBar *barre = addToolBar(QStringLiteral("Outils"));
    barre->setObjectName(QStringLiteral("barre_outils"));
    barre->setMovable(false);
    QWidget *p = barre;
    ouvre_bt = bouton(p, QStringLiteral("Ouvrir ou créer un diaporama"), QStyle::SP_DialogOpenButton);
    ferme_bt = bouton(p, QStringLiteral("Fermer le diaporama"), QStyle::SP_DialogCloseButton);
    planche_bt = bouton(p, QStringLiteral("Planche d'images"), QStyle::SP_FileDialogContentsView);
    normal_bt = bouton(p, QStringLiteral("Image (taille normal)"), QStyle::SP_DesktopIcon);
    edition_bt = bouton(p, QStringLiteral("Impression de l'image"), QStyle::SP_DriveFDIcon);
    option_bt = bouton(p, QStringLiteral("Option d'affichage (par défaut)"), QStyle::SP_FileDialogDetailedView);
    manipulation_bt = bouton(p, QStringLiteral("Manipulation de l'image"), QStyle::SP_BrowserReload);
    conversion_bt = bouton(p, QStringLiteral("Conversion"), QStyle::SP_ArrowRight);
    mode_bt = bouton(p, QStringLiteral("Mode de défilement"), QStyle::SP_MediaSeekForward);
    BitBtn1 = bouton(p, QStringLiteral("Documentation"), QStyle::SP_MessageBoxQuestion,
                     QStringLiteral("Documentation"));
    for (QToolButton *b : {ouvre_bt, ferme_bt, planche_bt, normal_bt, edition_bt, option_bt,
                           manipulation_bt, conversion_bt, mode_bt, BitBtn1})
        barre->addWidget(b);

    connect(ouvre_bt, &QToolButton::clicked, this, &TForm1::ouvrir_diaporama);
    connect(ferme_bt, &QToolButton::clicked, this, &TForm1::fermer_diaporama);
    connect(planche_bt, &QToolButton::clicked, this, &TForm1::planche_btClick);
    connect(normal_bt, &QToolButton::clicked, this, &TForm1::normal_btClick);
    connect(manipulation_bt, &QToolButton::clicked, this, &TForm1::manipulation_btClick);
    connect(conversion_bt, &QToolButton::clicked, this, &TForm1::conversion_btClick);
    connect(edition_bt, &QToolButton::clicked, this, &TForm1::edition_btClick);
    connect(BitBtn1, &QToolButton::clicked, this, &TForm1::Documentation1Click);
}

QWidget *TForm1::creer_editeur()
{
    auto *editeur = new QWidget(this);
    auto *colonne = new QVBoxLayout(editeur);

    cadre_image = new QFrame(editeur);
    cadre_image->setObjectName(QStringLiteral("cadre_image"));
    cadre_image->setFrameShape(QFrame::Panel);
    cadre_image->setFrameShadow(QFrame::Sunken);
    cadre_image->setMinimumSize(320, 240);
    cadre_image->installEventFilter(this);
    photo = new TPMultiImage(cadre_image);
    photo->setObjectName(QStringLiteral("photo"));
    photo->setGeometry(2, 2, 105, 105);
    photo->setCenter(true);
    photo->setImageDither(true);
    photo->setImageReadRes(lAutoMatic);
    photo->setImageWriteRes(sAutoMatic);
    photo->setTifSaveCompress(sNONE);
    photo->setJPegSaveQuality(25);
    photo->setJPegSaveSmooth(0);
    photo->setColor(palette().color(QPalette::Button));
    colonne->addWidget(cadre_image, 1);

    ip = new QFrame(editeur);
    ip->setObjectName(QStringLiteral("ip"));
    ip->setFrameShape(QFrame::StyledPanel);
    auto *barre_image = new QHBoxLayout(ip);
    barre_image->setContentsMargins(4, 2, 4, 2);
    photo_file = bouton(ip, QStringLiteral("Sélectionner un fichier image"), QStyle::SP_DirOpenIcon);
    photo_scanner = bouton(ip, QStringLiteral("Acquérir l'image par le scanner"), QStyle::SP_ComputerIcon);
    photo_supprime = bouton(ip, QStringLiteral("Supprimer l'image"), QStyle::SP_TrashIcon);
    barre_image->addStretch();
    barre_image->addWidget(photo_file);
    barre_image->addWidget(photo_scanner);
    barre_image->addWidget(photo_supprime);
    barre_image->addStretch();
    colonne->addWidget(ip);

    auto *cadre_commentaire = new QGroupBox(QStringLiteral("Commentaire"), editeur);
    auto *ligne_texte = new QHBoxLayout(cadre_commentaire);
    texte = new QLineEdit(cadre_commentaire);
    texte->setObjectName(QStringLiteral("texte"));
    texte->setMaxLength(255);
    texte->setValidator(new ValidateurCp1252(texte));
    texte->setToolTip(QStringLiteral("Tapez votre texte (255 caractères maximum)"));
    efface_texte = bouton(cadre_commentaire, QStringLiteral("Cliquez, pour supprimer ce commentaire"),
                          QStyle::SP_DialogDiscardButton);
    option_texte = bouton(cadre_commentaire, QStringLiteral("Cliquez pour accèder au options d'affichage"),
                          QStyle::SP_FileDialogDetailedView);
    ligne_texte->addWidget(texte, 1);
    ligne_texte->addWidget(efface_texte);
    ligne_texte->addWidget(option_texte);
    colonne->addWidget(cadre_commentaire);

    auto *cadre_son = new QGroupBox(QStringLiteral("Son"), editeur);
    auto *ligne_son = new QHBoxLayout(cadre_son);
    son = new QLabel(cadre_son);
    son->setObjectName(QStringLiteral("son"));
    son->setFrameShape(QFrame::Panel);
    son->setFrameShadow(QFrame::Sunken);
    son->setToolTip(QStringLiteral("Cliquez pour écouter le son sélectionné"));
    efface_son = bouton(cadre_son, QStringLiteral("Cliquez, pour supprimer ce son"),
                        QStyle::SP_DialogDiscardButton);
    jouer_son = bouton(cadre_son, QStringLiteral("Cliquez pour sélectionner un son"),
                       QStyle::SP_MediaVolume);
    ligne_son->addWidget(son, 1);
    ligne_son->addWidget(efface_son);
    ligne_son->addWidget(jouer_son);
    colonne->addWidget(cadre_son);
    return editeur;
}

QWidget *TForm1::creer_scenario()
{
    auto *cote = new QWidget(this);
    cote->setMinimumWidth(280);
    auto *colonne = new QVBoxLayout(cote);

    auto *cadre_scenario = new QGroupBox(QStringLiteral("Scénario"), cote);
    auto *dans_cadre = new QVBoxLayout(cadre_scenario);
    Liste = new QListWidget(cadre_scenario);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    dans_cadre->addWidget(Liste);
    colonne->addWidget(cadre_scenario, 1);

    auto *navigation = new QHBoxLayout;
    premiere = bouton(cote, QStringLiteral("Première diapositive"), QStyle::SP_MediaSkipBackward);
    precedante = bouton(cote, QStringLiteral("Diapositive précédante"), QStyle::SP_MediaSeekBackward);
    suivante = bouton(cote, QStringLiteral("Diapositive suivante"), QStyle::SP_MediaSeekForward);
    derniere = bouton(cote, QStringLiteral("Dernière diapositive"), QStyle::SP_MediaSkipForward);
    for (QToolButton *b : {premiere, precedante, suivante, derniere})
        navigation->addWidget(b);
    colonne->addLayout(navigation);

    lancer = new QPushButton(QStringLiteral("Lancer le diaporama"), cote);
    lancer->setObjectName(QStringLiteral("lancer"));
    lancer->setMinimumHeight(48);
    lancer->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    colonne->addWidget(lancer);

    auto *edition = new QHBoxLayout;
    inserer = new QPushButton(QStringLiteral("Insérer"), cote);
    inserer->setToolTip(QStringLiteral("Insertion d'une nouvelle dipositive, à la position courante"));
    ajouter = new QPushButton(QStringLiteral("Ajouter"), cote);
    ajouter->setToolTip(QStringLiteral("Ajouter une nouvelle diapositive, à la fin du montage"));
    edition->addWidget(inserer);
    edition->addWidget(ajouter);
    colonne->addLayout(edition);

    poubelle = new TPOUBELLE(cote);
    poubelle->setObjectName(QStringLiteral("poubelle"));
    connect(poubelle, &TPOUBELLE::suppression_demandee, this, &TForm1::poubelleSuppressionDemandee);
    colonne->addWidget(poubelle, 0, Qt::AlignHCenter);
    return cote;
}

void TForm1::creer_ligne_etat()
{
    QStatusBar *ligne = statusBar();
    ligne->setSizeGripEnabled(false);
    small_logo = emplacement(ligne, QStringLiteral("small_logo"), QSize(32, 24));
    barre_info = new QLabel(ligne);
    barre_info->setObjectName(QStringLiteral("barre_info"));
    gauge1 = new QProgressBar(ligne);
    gauge1->setObjectName(QStringLiteral("gauge1"));
    gauge1->setRange(0, 100);
    gauge1->setValue(0);
    gauge1->setTextVisible(false);
    gauge1->setFixedSize(90, 11);
    HORLOGE_DIGITAL2 = new THORLOGE_DIGITAL(ligne);
    HORLOGE_DIGITAL2->setObjectName(QStringLiteral("HORLOGE_DIGITAL2"));
    ligne->addWidget(small_logo);
    ligne->addWidget(barre_info, 1);
    ligne->addWidget(gauge1);
    ligne->addPermanentWidget(HORLOGE_DIGITAL2);
}

void TForm1::active_commande()
{
    const bool diapo = diapo_courante >= 0;
    for (QWidget *w : std::initializer_list<QWidget *>{Liste, premiere, precedante, suivante,
                                                       derniere, lancer, inserer})
        w->setEnabled(diapo);
    ajouter->setEnabled(diapo_courante >= -1);

    const bool ouvert = !nom_diaporama.isEmpty();
    for (QMenu *m : {option_me, Visualisation_me, Edition_me})
        m->menuAction()->setEnabled(ouvert);
    Fermerundiaporama_me->setEnabled(ouvert);
    for (QWidget *w : std::initializer_list<QWidget *>{
             planche_bt, normal_bt, edition_bt, ferme_bt, option_bt, manipulation_bt,
             conversion_bt, mode_bt, photo_file, photo_scanner, photo_supprime})
        w->setEnabled(ouvert);
}

void TForm1::active_diapo(bool on)
{
    photo->setVisible(on);
    son->setVisible(on);
    for (QWidget *w : std::initializer_list<QWidget *>{cadre_image, texte, option_texte, jouer_son,
                                                       efface_son, efface_texte})
        w->setEnabled(on);
}

void TForm1::position_main() { rectangle_principal = geometry(); }

void TForm1::ouvrir_diaporama()
{
    systeme::DemandeFichier demande;
    demande.parent = this;
    demande.titre = QStringLiteral("OUVRIR OU CREER UN DIAPORAMA");
    demande.filtre = QStringLiteral("Diaporama|*.sli");
    demande.nom = QStringLiteral("*.sli");
    const QString chemin = systeme::choisir_fichier(demande);
    if (!chemin.isEmpty())
        ouvre_diaporama(chemin);
}

void TForm1::ouvre_diaporama(const QString &chemin)
{
    if (fichier_sli_ouvert())
        ferme_fichier_sli();
    nom_diaporama = chemin;
    ouvre_fichier_sli(nom_diaporama);

    if (extrait_fichier(chemin).toUpper() == QStringLiteral("DEMO_KV.SLI"))
        relocalise_exemple();

    diapo_courante = nombre_fiches() >= 2 ? 1 : -1;
    affiche_diapo();
    active_commande();
    affecte_liste();
    setWindowTitle(titre_application + QStringLiteral(" - ") + nom_diaporama);
}

void TForm1::relocalise_exemple()
{
    bool refuse = false;
    auto relocalise = [&](ChaineCourte<80> &champ) {
        if (champ.est_vide())
            return;
        const QString nouveau = chemin_relocalise(dossier_depart, champ.valeur());
        if (nouveau.isEmpty())
            refuse = true;
        else
            champ.affecte(nouveau);
    };
    for (int i = 0; i < nombre_fiches(); ++i) {
        lit_fiche(i);
        relocalise(fiche.chemin_image);
        relocalise(fiche.chemin_son);
        ecrit_fiche(i);
    }
    if (refuse)
        systeme::boite(systeme::TypeBoite::Avertissement,
                       QStringLiteral("Le dossier de démarrage contient des caractères qu'un "
                                      "diaporama ne peut pas enregistrer : les images et les sons "
                                      "de l'exemple gardent leurs anciens chemins."));
}

void TForm1::fermer_diaporama()
{
    setWindowTitle(titre_application);
    if (diapo_courante >= 0)
        ecrit_fiche(diapo_courante);
    ferme_fichier_sli();
    poubelle->fixe_etat(false);
    nom_diaporama.clear();
    diapo_courante = -2;
    active_diapo(false);
    active_commande();
    affecte_liste();
}

void TForm1::affecte_liste()
{
    Liste->clear();
    if (diapo_courante < 0)
        return;
    for (int k = 1; k < nombre_fiches(); ++k) {
        lit_fiche(k);
        Liste->addItem(QStringLiteral("Diapositive n°%1 - %2")
                           .arg(k)
                           .arg(extrait_fichier(fiche.chemin_image.valeur())));
    }
    Liste->setCurrentRow(diapo_courante - 1);
    lit_fiche(diapo_courante);
}

void TForm1::affiche_diapo()
{
    Liste->setEnabled(false);
    if (diapo_courante < 0) {
        photo->setPicture(TPicture());
        texte->clear();
        son->clear();
    } else {
        lit_fiche(diapo_courante);
        active_diapo(true);
        montre_image(fiche.chemin_image.valeur());
        texte->setText(fiche.commentaire.valeur());
        texte->setCursorPosition(0);
        son->setText(fiche.chemin_son.valeur());
    }
    poubelle->fixe_etat(diapo_courante >= 0);
    Liste->setEnabled(diapo_courante >= 0);
}

void TForm1::ajuste_photo()
{
    const QSize image = photo->Picture().size();
    if (image.isEmpty())
        return;
    const PlacementPhoto place = place_photo(image.width(), image.height(), cadre_image->size());
    photo->setStretch(place.etire);
    photo->setGeometry(place.rectangle);
}

bool TForm1::eventFilter(QObject *objet, QEvent *evenement)
{
    // A new frame size fits the picture already loaded again; the file is not read anew.
    if (objet == cadre_image && evenement->type() == QEvent::Resize && diapo_courante >= 0)
        ajuste_photo();
    return QMainWindow::eventFilter(objet, evenement);
}

void TForm1::montre_image(const QString &chemin)
{
    const QSize cadre = cadre_image->size();
    photo->setGeometry(2, 2, cadre.width() - 24, cadre.height() - 64);
    if (!chemin.isEmpty() && fichier_present(chemin)) {
        photo->hide();
        photo->setImageName(chemin);
        ajuste_photo();
        photo->show();
        return;
    }
    photo->setPicture(TPicture());
    if (!chemin.isEmpty())
        systeme::boite(systeme::TypeBoite::Erreur, QStringLiteral("\"") + chemin +
                                                      QStringLiteral("\"\nCette photo n'existe plus"));
}

void TForm1::sauve()
{
    fiche.commentaire.affecte(texte->text().left(255));
    if (diapo_courante >= 0)
        ecrit_fiche(diapo_courante);
}

void TForm1::demarrage_differe()
{
    if (demarrage_fait)
        return;
    demarrage_fait = true;
    minuterie_depart->stop();
    largeur_depart = width();
    hauteur_depart = height();
    lit_config();
}

bool TForm1::FormCloseQuery()
{
    const int reponse = systeme::boite(systeme::TypeBoite::Confirmation,
                                       QStringLiteral("Désirez-vous quitter ") + titre_application,
                                       systeme::OK | systeme::Annuler);
    if (reponse != systeme::OK)
        return false;
    if (diapo_courante >= 0)
        fermer_diaporama();
    position_main();
    return true;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Refused until the slide on display is safely written: a file error on the
    // way leaves the program running with nothing lost.
    event->ignore();
    demarrage_differe();
    if (FormCloseQuery()) {
        fixe_fin_application(true);
        event->accept();
    }
}

bool TForm1::verifie_image()
{
    if (diapo_courante >= 0 && !fiche.chemin_image.est_vide())
        return true;
    systeme::boite(systeme::TypeBoite::Information, PAS_D_IMAGE);
    return false;
}

void TForm1::planche_btClick()
{
    if (diapo_courante < 0)
        systeme::boite(systeme::TypeBoite::Information, PAS_D_IMAGE);
}

void TForm1::normal_btClick() { verifie_image(); }
void TForm1::manipulation_btClick() { verifie_image(); }
void TForm1::conversion_btClick() { verifie_image(); }

void TForm1::edition_btClick()
{
    // The button's position is taken relative to the toolbar.
    const QPoint point(edition_bt->x() + 5, edition_bt->y() + 75);
    PopupMenu1->popup(edition_bt->parentWidget()->mapToGlobal(point));
}

// Removing the slide itself is slide editing's part; the request reaches this handler.
void TForm1::poubelleSuppressionDemandee() {}

void TForm1::Documentation1Click() { systeme::aide(dossier_depart + QStringLiteral("DOC.HLP"), 1); }

void TForm1::Configurationdelimprimante1Click() { systeme::configure_imprimante(this); }

void TForm1::Configurationduscanner1Click() { photo->SelectScanner(this); }
