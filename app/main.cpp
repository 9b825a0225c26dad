#include "main.h"

#include "ajustement.h"
#include "navigation.h"
#include "application.h"
#include "config_sli.h"
#include "emplacements.h"
#include "cp1252.h"
#include "curseurs.h"
#include "erreurs.h"
#include "chemins.h"
#include "fichier_sli.h"
#include "progression.h"
#include "systeme.h"
#include "Bimage.h"
#include "Fconvert.h"
#include "Fprint.h"
#include "Fsauve.h"
#include "formats_outils.h"
#include "impression.h"
#include "Fgauge.h"
#include "Fplanche.h"
#include "Info.h"
#include "Finfo.h"
#include "Ftraite.h"
#include "Fnormal.h"
#include "Fopen.h"
#include "Fmode.h"
#include "Moteur.h"
#include "Option.h"
#include "Optiong.h"
#include "TMultiP.h"
#include "animation.h"
#include "imagefile.h"
#include "Poubelle.h"
#include "digital.h"
#include "Danhint.h"
#include "Slogo.h"
#include "About.h"

#include <QAction>
#include <QCheckBox>
#include <QPainter>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
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

QString dossier_depart;
QRect rectangle_principal;

namespace {

constexpr int CURSEUR_DEPLACE_DIAPO = 150;
const QString FORMAT_GLISSER_DIAPO = QStringLiteral("application/x-vistarama-diapositive");
const QString PAS_D_IMAGE = QStringLiteral("PAS D'IMAGE");

QToolButton *bouton(QWidget *parent, const QString &aide, const QIcon &icone, const QString &texte = {})
{
    auto *b = new QToolButton(parent);
    b->setToolTip(aide);
    b->setIcon(icone);
    if (!texte.isEmpty()) {
        b->setText(texte);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
    return b;
}

QToolButton *bouton(QWidget *parent, const QString &aide, QStyle::StandardPixmap icone,
                    const QString &texte = {})
{
    return bouton(parent, aide, parent->style()->standardIcon(icone), texte);
}

// One of the program's own glyphs (assets/glyphes).
QIcon glyphe(const char *nom)
{
    return QIcon(QStringLiteral(":/glyphes/%1.png").arg(QLatin1String(nom)));
}

TPMultiImage *cree_apercu(QWidget *parent, const QString &nom)
{
    auto *apercu = new TPMultiImage(parent);
    apercu->setObjectName(nom);
    apercu->setGeometry(2, 2, 105, 105);
    apercu->setCenter(true);
    apercu->setImageDither(true);
    apercu->setImageReadRes(lAutoMatic);
    apercu->setImageWriteRes(sAutoMatic);
    apercu->setTifSaveCompress(sNONE);
    apercu->setJPegSaveQuality(25);
    apercu->setJPegSaveSmooth(0);
    apercu->setColor(parent->palette().color(QPalette::Button));
    return apercu;
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
    normal = new Tnormal(this);
    ouvre_image = new Touvre_image(normal, this);
    Conversion_images = new TConversion_images(this);
    conversion = new Tconversion(this);
    traitement = new Ttraitement(conversion, this);
    info_image = new Tinfo_image(this);
    impression = new Timpression(this);
    sauve_image = new Tsauve_image(this);
    mode = new Tmode(this);
    option_affichage = new Toption_affichage(this);
    option_affichage_general = new Toption_affichage_general(this);
    lance_diaporama = new Tlance_diaporama(this);
    DanHint1 = new TDanHint(this);
    DanHint1->setHintDirection(hdDownRight);
    DanHint1->setHintShadowColor(Qt::black);
    QFont police_bulles(QStringLiteral("Arial"));
    police_bulles.setPixelSize(11);
    DanHint1->setHintFont(police_bulles, Qt::black);
    jauge = new Tjauge(this);
    info_diapo = new Tinfo_diapo(this);
    Planche = new TPlanche(info_diapo, jauge, this);

    // FormCreate
    barre_info->setText(QStringLiteral("  ") + titre_application +
                        QStringLiteral(" - composez et présentez vos diaporamas"));
    fixe_jauge_principale(this, gauge1);
    fixe_fin_application(false);
    ProgressCallback = progression;
    animation = new AnimationIdle(this);
    attache_animation(true);
    dossier_depart = emplacements::dossier_depart();
    fixe_dossier_config(emplacements::dossier_config());
    poubelle->fixe_dossier_sons(emplacements::dossier_ressources());
    mode->fichier_aide = option_affichage->fichier_aide = option_affichage_general->fichier_aide =
        emplacements::dossier_ressources() + QStringLiteral("DOC.HLP");
    enregistre_curseur(CURSEUR_DEPLACE_DIAPO, charge_curseur(QStringLiteral("deplace_diapositive")));
    poubelle->fixe_etat(false);
    nom_diaporama.clear();
    position_main();
    diapo_courante = -2;
    active_diapo(false);
    active_commande();
    setWindowTitle(titre_application);
    small_logo->start();
    a_propos = new Ta_propos(this);

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
    connect(Visualiseurdimages1, &QAction::triggered, this, &TForm1::Visualiseurdimages1Click);
    connect(Conversiondimages1, &QAction::triggered, this, [this] { systeme::execute(*Conversion_images); });
    connect(Manipulationdelimage1, &QAction::triggered, this, &TForm1::manipulation_btClick);
    connect(Conversiondelimage1, &QAction::triggered, this, &TForm1::conversion_btClick);
    connect(Infosurlimage1, &QAction::triggered, this, &TForm1::photo_Click);
    connect(Documentation1, &QAction::triggered, this, &TForm1::Documentation1Click);
    connect(Modededfilement2, &QAction::triggered, this, &TForm1::Modededfilement2Click);
    connect(Textepardefault1, &QAction::triggered, this, &TForm1::Textepardefault1Click);
    connect(Apropos1, &QAction::triggered, this, &TForm1::Apropos1Click);
    for (QAction *a : {Scnario1, N4})
        connect(a, &QAction::triggered, this, &TForm1::Scnario1Click);
    for (QAction *a : {Image1, Image2})
        connect(a, &QAction::triggered, this, &TForm1::Image1Click);
}

void TForm1::creer_barre_outils()
{
    QToolBar *barre = addToolBar(QStringLiteral("Outils"));
    barre->setObjectName(QStringLiteral("barre_outils"));
    barre->setMovable(false);
    QWidget *p = barre;
    ouvre_bt = bouton(p, QStringLiteral("Ouvrir ou créer un diaporama"), glyphe("ouvrir"));
    ferme_bt = bouton(p, QStringLiteral("Fermer le diaporama"), glyphe("fermer"));
    planche_bt = bouton(p, QStringLiteral("Planche d'images"), QStyle::SP_FileDialogContentsView);
    normal_bt = bouton(p, QStringLiteral("Image (taille normal)"), QStyle::SP_DesktopIcon);
    edition_bt = bouton(p, QStringLiteral("Impression de l'image"), glyphe("imprimer"));
    option_bt = bouton(p, QStringLiteral("Option d'affichage (par défaut)"), QStyle::SP_FileDialogDetailedView);
    manipulation_bt = bouton(p, QStringLiteral("Manipulation de l'image"), glyphe("retourner"));
    conversion_bt = bouton(p, QStringLiteral("Conversion"), glyphe("convertir"));
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
    connect(mode_bt, &QToolButton::clicked, this, &TForm1::mode_btClick);
    connect(option_bt, &QToolButton::clicked, this, &TForm1::option_btClick);
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
    photo = cree_apercu(cadre_image, QStringLiteral("photo"));
    // The same settings, hidden: it draws the pictures of the printed scenario.
    photo_tmp = cree_apercu(cadre_image, QStringLiteral("photo_tmp"));
    photo_tmp->hide();
    for (TPMultiImage *image : {photo, photo_tmp})
        connect(image, &TPMultiImage::OnDblClick, this, &TForm1::photo_Click);
    colonne->addWidget(cadre_image, 1);

    ip = new QFrame(editeur);
    ip->setObjectName(QStringLiteral("ip"));
    ip->setFrameShape(QFrame::StyledPanel);
    auto *barre_image = new QHBoxLayout(ip);
    barre_image->setContentsMargins(4, 2, 4, 2);
    photo_file = bouton(ip, QStringLiteral("Sélectionner un fichier image"), QStyle::SP_DirOpenIcon);
    photo_scanner = bouton(ip, QStringLiteral("Scannériser une image"), QStyle::SP_ComputerIcon);
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
    connect(texte, &QLineEdit::textChanged, this, &TForm1::texteChange);
    connect(efface_texte, &QToolButton::clicked, this, &TForm1::efface_texteClick);
    connect(option_texte, &QToolButton::clicked, this, &TForm1::option_texteClick);
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
    son->installEventFilter(this);
    connect(efface_son, &QToolButton::clicked, this, &TForm1::efface_sonClick);
    connect(jouer_son, &QToolButton::clicked, this, &TForm1::sonClick);
    connect(photo_supprime, &QToolButton::clicked, this, &TForm1::photo_supprimeClick);
    connect(photo_file, &QToolButton::clicked, this, &TForm1::photo_fileClick);
    connect(photo_scanner, &QToolButton::clicked, this, &TForm1::photo_scannerClick);
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
    Liste->setUniformItemSizes(true);
    Liste->viewport()->setAcceptDrops(true);
    Liste->viewport()->installEventFilter(this);
    connect(Liste, &QListWidget::currentRowChanged, this, [this] {
        if (!liste_par_programme)
            selection_liste();
    });
    dans_cadre->addWidget(Liste);
    colonne->addWidget(cadre_scenario, 1);

    auto *navigation = new QHBoxLayout;
    premiere = bouton(cote, QStringLiteral("Première diapositive"), glyphe("premiere"));
    precedante = bouton(cote, QStringLiteral("Diapositive précédante"), glyphe("precedente"));
    suivante = bouton(cote, QStringLiteral("Diapositive suivante"), glyphe("suivante"));
    derniere = bouton(cote, QStringLiteral("Dernière diapositive"), glyphe("derniere"));
    for (QToolButton *b : {premiere, precedante, suivante, derniere})
        navigation->addWidget(b);
    connect(premiere, &QToolButton::clicked, this, &TForm1::premiereClick);
    connect(precedante, &QToolButton::clicked, this, &TForm1::precedanteClick);
    connect(suivante, &QToolButton::clicked, this, &TForm1::suivanteClick);
    connect(derniere, &QToolButton::clicked, this, &TForm1::derniereClick);
    colonne->addLayout(navigation);

    lancer = new QPushButton(QStringLiteral("Lancer le diaporama"), cote);
    lancer->setObjectName(QStringLiteral("lancer"));
    lancer->setMinimumHeight(48);
    lancer->setIcon(glyphe("lancer"));
    lancer->setIconSize(QSize(24, 24));
    colonne->addWidget(lancer);
    connect(lancer, &QPushButton::clicked, this, &TForm1::lancerClick);

    auto *edition = new QHBoxLayout;
    inserer = new QPushButton(QStringLiteral("Insérer"), cote);
    inserer->setToolTip(QStringLiteral("Insertion d'une nouvelle dipositive, à la position courante"));
    ajouter = new QPushButton(QStringLiteral("Ajouter"), cote);
    ajouter->setToolTip(QStringLiteral("Ajouter une nouvelle diapositive, à la fin du montage"));
    edition->addWidget(inserer);
    edition->addWidget(ajouter);
    connect(inserer, &QPushButton::clicked, this, &TForm1::insererClick);
    connect(ajouter, &QPushButton::clicked, this, &TForm1::ajouterClick);
    colonne->addLayout(edition);

    poubelle = new TPOUBELLE(cote);
    poubelle->setObjectName(QStringLiteral("poubelle"));
    connect(poubelle, &TPOUBELLE::suppression_demandee, this, &TForm1::supprime_diapo_courante);
    colonne->addWidget(poubelle, 0, Qt::AlignHCenter);
    return cote;
}

void TForm1::creer_ligne_etat()
{
    QStatusBar *ligne = statusBar();
    ligne->setSizeGripEnabled(false);
    small_logo = new TSLOGO(ligne);
    small_logo->setObjectName(QStringLiteral("small_logo"));
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
    // The slide on display is written first: should that fail, the old slideshow stays open.
    if (fichier_sli_ouvert())
        fermer_diaporama();
    try {
        ouvre_fichier_sli(chemin);
        nom_diaporama = chemin;
        if (extrait_fichier(chemin).toUpper() == QStringLiteral("DEMO_KV.SLI"))
            relocalise_exemple();
    } catch (const erreurs::ErreurES &) {
        // A file that cannot be opened leaves the editor with no slideshow, from which
        // every command, quitting included, works again.
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
        passe_sans_diaporama();
        throw;
    }
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
        const QString nouveau =
            chemin_relocalise(QFileInfo(nom_diaporama).absolutePath() + QLatin1Char('/'), champ.valeur());
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
    passe_sans_diaporama();
}

void TForm1::passe_sans_diaporama()
{
    setWindowTitle(titre_application);
    poubelle->fixe_etat(false);
    nom_diaporama.clear();
    diapo_courante = -2;
    active_diapo(false);
    active_commande();
    affecte_liste();
}

void TForm1::selectionne_entree(int entree)
{
    liste_par_programme = true;
    Liste->setCurrentRow(entree);
    liste_par_programme = false;
}

void TForm1::affecte_liste()
{
    liste_par_programme = true;
    Liste->clear();
    liste_par_programme = false;
    if (diapo_courante < 0)
        return;
    for (int k = 1; k < nombre_fiches(); ++k) {
        lit_fiche(k);
        auto *entree = new QListWidgetItem(QStringLiteral("Diapositive n°%1 - %2")
                                               .arg(k)
                                               .arg(extrait_fichier(fiche.chemin_image.valeur())));
        entree->setSizeHint(QSize(0, HAUTEUR_ENTREE_LISTE));
        Liste->addItem(entree);
    }
    selectionne_entree(diapo_courante - 1);
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
        montre_image(chemin_de_fiche(fiche.chemin_image.valeur()));
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
    if (Liste && objet == Liste->viewport())
        return evenement_liste(evenement) || QMainWindow::eventFilter(objet, evenement);
    if (son && objet == son && evenement->type() == QEvent::MouseButtonRelease && son->isEnabled()) {
        jouer_sonClick();
        return false;
    }
    if (objet == cadre_image && evenement->type() == QEvent::MouseButtonDblClick)
        photo_Click();
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
        info_image->remplit(nom_seul(chemin), *photo);
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
        // The help window and every other window of the program go with this one.
        for (QWidget *fenetre : QApplication::topLevelWidgets())
            if (fenetre != this && fenetre->isVisible())
                fenetre->close();
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
    if (diapo_courante < 0) {
        systeme::boite(systeme::TypeBoite::Information, PAS_D_IMAGE);
        return;
    }
    sauve();
    systeme::execute(*Planche);
    // The sheet read other slides into the record buffer.
    lit_fiche(diapo_courante);
    if (Planche->choisi) {
        diapo_courante = Planche->curseur_fiche;
        affiche_diapo();
        selectionne_entree(diapo_courante - 1);
    }
}

void TForm1::normal_btClick()
{
    if (!verifie_image())
        return;
    normal->montre(photo->Picture());
    lit_fiche(diapo_courante);
}

void TForm1::Visualiseurdimages1Click()
{
    ouvre_image->setWindowTitle(QStringLiteral("Visualiseur d'images"));
    systeme::execute(*ouvre_image);
}

void TForm1::photo_fileClick()
{
    ouvre_image->setWindowTitle(QStringLiteral("Sélectionnez une image"));
    if (systeme::execute(*ouvre_image) != QDialog::Accepted)
        return;
    if (!stocke_chemin(fiche.chemin_image, ouvre_image->fichier_image))
        return;
    sauve();
    affiche_diapo();
    affecte_liste();
}
// The slide on display is written first, since it is read back from the file
// afterwards (the manipulation window writes the record itself after a conversion).
void TForm1::manipulation_btClick()
{
    if (!verifie_image())
        return;
    sauve();
    traitement->numero_diapo = diapo_courante;
    traitement->image->setPicture(photo->Picture());
    systeme::execute(*traitement);
    affiche_diapo();
    affecte_liste();
}

// The information box shows what the last displayed picture set in it.
void TForm1::photo_Click() { systeme::execute(*info_image); }

void TForm1::conversion_btClick()
{
    if (!verifie_image())
        return;
    sauve();
    conversion->MultiImage1->setPicture(photo->Picture());
    systeme::execute(*conversion);
    if (conversion->converti && stocke_chemin(fiche.chemin_image, conversion->nouveau_nom))
        sauve();
    affiche_diapo();
    affecte_liste();
}

void TForm1::edition_btClick()
{
    // The button's position is taken relative to the toolbar.
    const QPoint point(edition_bt->x() + 5, edition_bt->y() + 75);
    PopupMenu1->popup(edition_bt->parentWidget()->mapToGlobal(point));
}

// Removing the slide itself is slide editing's part; the request reaches this handler.
void TForm1::Apropos1Click()
{
    a_propos->LOGO1->start();
    systeme::execute(*a_propos);
    a_propos->LOGO1->stop();
}

void TForm1::Documentation1Click()
{
    systeme::aide(emplacements::dossier_ressources() + QStringLiteral("DOC.HLP"), 1);
}

void TForm1::Configurationdelimprimante1Click() { systeme::configure_imprimante(this); }

void TForm1::Configurationduscanner1Click() { photo->SelectScanner(this); }

void TForm1::Scnario1Click()
{
    const int fiches = nombre_fiches();
    const int pages = pages_scenario(fiches - 1);
    const Tjauge::Ouverte ouverte(*jauge, QStringLiteral("Chargement des Images"), 0, fiches - 1);
    const QString nom = extrait_fichier(nom_diaporama);
    systeme::imprime_documents(pages, [&](QPainter &peintre, int document) {
        const int page = document + 1;
        dessine_cadre_scenario(peintre, page, pages, nom);
        for (int rangee = 0; rangee < kDiaposParPage; ++rangee) {
            const int k = diapo_de_la_rangee(page, rangee, fiches);
            if (k == 0)
                continue;
            jauge->avance(k);
            lit_fiche(k);
            const QString image = fiche.chemin_image.valeur();
            dessine_rangee_scenario(peintre, rangee,
                                    {k, image, fiche.chemin_son.valeur(),
                                     lignes_commentaire(fiche.commentaire.valeur(), font(), 396)});
            photo_tmp->setPicture(TPicture());
            photo_tmp->setImageName(chemin_de_fiche(image));
            for (int i = 0; i < 11; ++i)
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            const QRect place = place_image_scenario(rangee, photo_tmp->Picture().size());
            if (!image.isEmpty())
                photo_tmp->PrintImage(peintre, place.x(), place.y(), place.width(), place.height());
        }
    });
    if (diapo_courante >= 0)
        lit_fiche(diapo_courante);
}

namespace {
// A whole number typed in a box, or the conversion error box and nothing.
std::optional<int> entier_saisi(const QString &texte)
{
    bool ok = false;
    const int valeur = texte.trimmed().toInt(&ok);
    if (ok)
        return valeur;
    erreurs::erreur_generale(QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(texte));
    return std::nullopt;
}
}  // namespace

void TForm1::Image1Click()
{
    if (systeme::execute(*impression) != QDialog::Accepted)
        return;
    const std::optional<int> zoom = entier_saisi(impression->zoom->text());
    const std::optional<int> copies = zoom ? entier_saisi(impression->copies->text()) : std::nullopt;
    if (!copies)
        return;
    const double echelle = *zoom < 0 ? 1.0 : *zoom * 0.01;
    const QRect place = place_image_imprimee(photo->Picture().size(), echelle, impression->horizontal->isChecked(),
                                             impression->vertical->isChecked());
    const QString chemin = fiche.chemin_image.valeur();
    systeme::imprime_documents(*copies < 0 ? 1 : *copies, [&](QPainter &peintre, int) {
        photo->PrintImage(peintre, place.x(), place.y(), place.width(), place.height());
        dessine_chemin_image(peintre, chemin);
    });
}

void TForm1::photo_scannerClick()
{
    Liste->setEnabled(false);
    photo->hide();
    if (photo->ScanImage(this)) {
        systeme::execute(*sauve_image);
        const QString nom = sauve_image->nom->text();
        const QString extension = nom.size() > 12 ? QString() : nom.right(3).toUpper();
        static const QStringList acceptees = {QStringLiteral("BMP"), QStringLiteral("GIF"), QStringLiteral("JPG"),
                                              QStringLiteral("PCX"), QStringLiteral("TIF")};
        const FormatOutil *format = acceptees.contains(extension) ? format_outil(extension) : nullptr;
        if (!format) {
            systeme::boite(systeme::TypeBoite::Information, QStringLiteral("nom incorrect"));
        } else {
            const QString chemin = dossier_depart + nom;
            // The picture goes into its file first: the slide names only a file that was written.
            if ((photo->*format->ecrit)(chemin) && stocke_chemin(fiche.chemin_image, chemin))
                sauve();
        }
    }
    Liste->setEnabled(true);
    affiche_diapo();
    affecte_liste();
}

void TForm1::selection_liste()
{
    sauve();
    const int entree = Liste->currentRow();
    if (entree < 0 || entree == diapo_courante - 1)
        return;
    diapo_courante = entree + 1;
    affiche_diapo();
    Liste->setFocus();
    photo->repaint();
}

void TForm1::premiereClick()
{
    sauve();
    diapo_courante = 1;
    affiche_diapo();
    selectionne_entree(diapo_courante - 1);
}

void TForm1::precedanteClick()
{
    sauve();
    if (diapo_courante < 2) {
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Première diapositive"));
    } else {
        --diapo_courante;
        affiche_diapo();
    }
    selectionne_entree(diapo_courante - 1);
}

void TForm1::suivanteClick()
{
    sauve();
    if (diapo_courante < nombre_fiches() - 1) {
        ++diapo_courante;
        affiche_diapo();
    } else {
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Dernière diapositive"));
    }
    selectionne_entree(diapo_courante - 1);
}

void TForm1::derniereClick()
{
    sauve();
    diapo_courante = nombre_fiches() - 1;
    affiche_diapo();
    selectionne_entree(diapo_courante - 1);
}

bool TForm1::evenement_liste(QEvent *evenement)
{
    switch (evenement->type()) {
    case QEvent::MouseButtonPress:
        souris_liste = true;
        glisser_en_cours = false;
        return false;
    case QEvent::MouseMove:
        if (souris_liste && diapo_courante >= 1) {
            demarre_glisser();
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease: {
        // After a drag the list must not take the release as a click on the pressed entry.
        const bool apres_glisser = glisser_en_cours;
        souris_liste = false;
        glisser_en_cours = false;
        return apres_glisser;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (static_cast<QDropEvent *>(evenement)->mimeData()->hasFormat(FORMAT_GLISSER_DIAPO)) {
            ListeDragOver();
            static_cast<QDropEvent *>(evenement)->acceptProposedAction();
        }
        return true;
    case QEvent::Drop:
        ListeDragDrop(static_cast<QDropEvent *>(evenement)->position().toPoint());
        static_cast<QDropEvent *>(evenement)->acceptProposedAction();
        return true;
    default:
        return false;
    }
}

void TForm1::demarre_glisser()
{
    souris_liste = false;
    glisser_en_cours = true;
    sauve();
    auto *glisser = new QDrag(Liste);
    auto *donnees = new QMimeData;
    donnees->setData(FORMAT_GLISSER_DIAPO, QByteArray::number(diapo_courante));
    glisser->setMimeData(donnees);
    const QCursor curseur = curseur_ecran(CURSEUR_DEPLACE_DIAPO);
    glisser->setDragCursor(curseur.pixmap(), Qt::MoveAction);
    glisser->setHotSpot(curseur.hotSpot());
    glisser->exec(Qt::MoveAction);
}

void TForm1::ListeDragOver() { survol_liste = true; }

void TForm1::ListeDragDrop(const QPoint &point)
{
    const bool survole = survol_liste;
    survol_liste = false;
    if (!survole || diapo_courante < 1)
        return;
    const int haut = Liste->indexAt(QPoint(0, 0)).row();
    cible_depot = position_liste(point.y()) + std::max(haut, 0);
    const int n = nombre_fiches() - 1;
    sauve();
    const int place = place_apres_depot(n, cible_depot);
    deplace_diapo(diapo_courante, place);
    diapo_courante = place;
    affecte_liste();
    affiche_diapo();
}

void TForm1::ajouterClick()
{
    sauve();
    diapo_courante = nombre_fiches();
    nouvelle_fiche();
    ecrit_fiche(diapo_courante);
    active_diapo(true);
    active_commande();
    affiche_diapo();
    affecte_liste();
}

void TForm1::insererClick()
{
    sauve();
    insere_fiche(diapo_courante);
    active_diapo(true);
    active_commande();
    affiche_diapo();
    affecte_liste();
}

void TForm1::supprime_diapo_courante()
{
    if (diapo_courante < 1)
        return;
    supprime_diapo(diapo_courante);
    if (nombre_fiches() < 2)
        diapo_courante = -1;
    else if (diapo_courante >= nombre_fiches())
        diapo_courante = nombre_fiches() - 1;
    liste_par_programme = true;
    Liste->clear();
    liste_par_programme = false;
    affiche_diapo();
    affecte_liste();
    active_commande();
    active_diapo(diapo_courante >= 0);
}

bool TForm1::confirme(const QString &question)
{
    return systeme::boite(systeme::TypeBoite::Confirmation, question,
                          systeme::OK | systeme::Annuler) == systeme::OK;
}

void TForm1::photo_supprimeClick()
{
    if (!confirme(QStringLiteral("Désirez-vous affacer cette image")))
        return;
    photo->setPicture(TPicture());
    fiche.chemin_image.vide();
    sauve();
    affiche_diapo();
    affecte_liste();
}

void TForm1::sonClick()
{
    systeme::DemandeFichier demande;
    demande.parent = this;
    demande.titre = QStringLiteral("Sélectionnez un son wav");
    demande.filtre = QStringLiteral("Son Wav|*.wav");
    demande.nom = chemin_de_fiche(fiche.chemin_son.valeur());
    const QString chemin = systeme::choisir_fichier(demande);
    if (chemin.isEmpty() || !stocke_chemin(fiche.chemin_son, chemin))
        return;
    son->setText(fiche.chemin_son.valeur());
}

void TForm1::jouer_sonClick() { systeme::joue_son(chemin_de_fiche(fiche.chemin_son.valeur()), 1); }

void TForm1::efface_sonClick()
{
    if (!confirme(QStringLiteral("Désirez-vous affacer ce son")))
        return;
    fiche.chemin_son.vide();
    son->clear();
}

void TForm1::texteChange(const QString &nouveau) { fiche.commentaire.affecte(nouveau.left(255)); }

void TForm1::efface_texteClick()
{
    if (!confirme(QStringLiteral("Désirez-vous affacer ce texte")))
        return;
    fiche.commentaire.vide();
    texte->clear();
}

void TForm1::mode_btClick()
{
    lit_config();
    systeme::execute(*mode);
    sauve_config();
}

// The menu entry loads and stores the settings as the button does: a change made
// there is what the next show, which reloads them, uses.
void TForm1::Modededfilement2Click()
{
    position_main();
    mode_btClick();
}

void TForm1::option_btClick()
{
    position_main();
    option_affichage_general->principale = rectangle_principal;
    lit_fiche(0);
    systeme::execute(*option_affichage_general);
    ecrit_fiche(0);
    if (diapo_courante >= 0)
        lit_fiche(diapo_courante);
}

void TForm1::Textepardefault1Click() { option_btClick(); }

void TForm1::option_texteClick()
{
    position_main();
    option_affichage->principale = rectangle_principal;
    systeme::execute(*option_affichage);
    sauve();
}

void TForm1::lancerClick()
{
    lance_diaporama->resize(largeur_depart, hauteur_depart);
    attache_animation(false);
    // The editor's preview plays again however the show ends, a file error included.
    struct Reattache {
        TForm1 *f;
        ~Reattache() { f->attache_animation(true); }
    } reattache{this};
    lance_diaporama->premiere_activation = true;
    sauve();
    lit_config();
    systeme::execute(*lance_diaporama);
    lit_fiche(diapo_courante);
}
