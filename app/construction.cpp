// The main window's widgets: menus and their keys, toolbar, the slide editor, the
// scenario side and the status line, each connected to its handler.
#include "main.h"

#include "Fconvert.h"
#include "Poubelle.h"
#include "Slogo.h"
#include "TMultiP.h"
#include "cp1252.h"
#include "digital.h"
#include "navigation.h"
#include "outils.h"
#include "systeme.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

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

// The editor's preview: JPEG written at quality 25 (a scanned picture), on the frame's colour.
TPMultiImage *apercu_editeur(QWidget *parent, const QString &nom)
{
    auto *apercu = cree_apercu(parent, 25, 0);
    apercu->setObjectName(nom);
    apercu->setGeometry(2, 2, 105, 105);
    apercu->setColor(parent->palette().color(QPalette::Button));
    return apercu;
}

}  // namespace

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
    Fichier_me->addSeparator();
    Exporterenvideo1 = Fichier_me->addAction(QStringLiteral("&Exporter en vidéo…"));

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
    connect(Exporterenvideo1, &QAction::triggered, this, &TForm1::Exporterenvideo1Click);
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

    Ouvrirundiaporama1->setShortcut(QKeySequence::Open);
    Fermerundiaporama_me->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    Quitter1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Documentation1->setShortcut(QKeySequence(Qt::Key_F1));
    const auto touche = [this](QKeySequence sequence, auto &&action) {
        auto *a = new QAction(this);
        a->setShortcut(sequence);
        connect(a, &QAction::triggered, this, action);
        addAction(a);
        return a;
    };
    lancer_action = touche(QKeySequence(Qt::Key_F5), [this] {
        if (lancer->isEnabled())
            lancerClick();
    });
    supprime_diapo_action = touche(QKeySequence(Qt::Key_Delete), [this] { supprime_avec_confirmation(); });
    deplace_haut = touche(QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { deplace_d_une_place(-1); });
    deplace_bas = touche(QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { deplace_d_une_place(+1); });
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
    photo = apercu_editeur(cadre_image, QStringLiteral("photo"));
    // The same settings, hidden: it draws the pictures of the printed scenario.
    photo_tmp = apercu_editeur(cadre_image, QStringLiteral("photo_tmp"));
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
