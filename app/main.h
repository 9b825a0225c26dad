// The main window: the slide editor on the left, the scenario list and the
// show commands on the right, toolbar on top and status line below.
#pragma once

#include <QMainWindow>
#include <QRect>

#include "fichier_sli.h"

class Diaporama;

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;
class THORLOGE_DIGITAL;
class TPOUBELLE;
class AnimationIdle;
class TPMultiImage;
class Tnormal;
class Tconversion;
class Timpression;
class Tsauve_image;
class Tinfo_image;
class Ttraitement;
class TConversion_images;
class Touvre_image;
class Tmode;
class Toption_affichage;
class Toption_affichage_general;
class Tlance_diaporama;
class TDanHint;
class TSLOGO;
class Ta_propos;
class TPlanche;
class Tinfo_diapo;
class Tjauge;

// Process-wide values of the editor (the title is the base's titre_application).
extern QString dossier_depart;
// The main window's rectangle, recorded before a dialog is shown so that it can centre itself.
extern QRect rectangle_principal;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The slideshow edited, whose slide on display this window shows.
    static Diaporama &document();
    int diapo_courante() const;
    QString nom_diaporama() const;
    int largeur_depart = 0;
    int hauteur_depart = 0;

    void active_commande();
    void active_diapo(bool on);
    void position_main();
    void ouvrir_diaporama();
    // Opens or creates the slideshow `chemin` (what the open dialog does once a name is chosen).
    void ouvre_diaporama(const QString &chemin);
    void fermer_diaporama();
    // Follows the document: what changed (Diaporama::Changement) is shown again.
    void rafraichit(int quoi);
    void affecte_liste();
    void affiche_diapo();
    // Stores the comment field in the record buffer and writes the slide on display.
    void sauve();
    // Loads the slide's picture into the preview and fits it into the frame.
    void montre_image(const QString &chemin);
    void ajuste_photo();

    // The scenario list and navigation.
    void selection_liste();
    void premiereClick();
    void precedanteClick();
    void suivanteClick();
    void derniereClick();
    void ListeDragOver();
    // A slide dropped at `point` of the list's visible area.
    void ListeDragDrop(const QPoint &point);

    // Slide editing.
    void ajouterClick();
    void insererClick();
    // Removes the slide on display (the trash can's request).
    void supprime_diapo_courante();
    // The Delete key: the same removal once confirmed in a box.
    void supprime_avec_confirmation();
    // Ctrl+Up, Ctrl+Down: the slide on display one place up (-1) or down (+1).
    void deplace_d_une_place(int sens);
    void photo_supprimeClick();
    void sonClick();
    void jouer_sonClick();
    void efface_sonClick();
    void texteChange(const QString &nouveau);
    void efface_texteClick();
    void photo_fileClick();
    void Visualiseurdimages1Click();
    // The about box, its logo running while it is on show.
    void Apropos1Click();

    // The image browser and the full-size view, made once.
    Touvre_image *ouvre_image;
    Tnormal *normal;
    Tconversion *conversion;
    // The picture print options and the scanned picture's name prompt.
    Timpression *impression;
    Tsauve_image *sauve_image;
    Ttraitement *traitement;
    Tinfo_image *info_image;
    TConversion_images *Conversion_images;
    // The presentation windows, made once.
    Tmode *mode;
    Toption_affichage *option_affichage;
    Toption_affichage_general *option_affichage_general;
    Tlance_diaporama *lance_diaporama;

    // Presentation settings, display options and the show.
    void mode_btClick();
    void Modededfilement2Click();
    void option_btClick();
    void Textepardefault1Click();
    void option_texteClick();
    void lancerClick();
    void Exporterenvideo1Click();
    Ta_propos *a_propos;
    // The balloon hints of every window.
    TDanHint *DanHint1;
    Tjauge *jauge;
    Tinfo_diapo *info_diapo;
    TPlanche *Planche;

    // Menus and their items.
    QMenu *Fichier_me;
    QMenu *Visualisation_me;
    QMenu *option_me;
    QMenu *Edition_me;
    QMenu *Aide_me;
    QAction *Ouvrirundiaporama1;
    QAction *Fermerundiaporama_me;
    QAction *Conversiondimages1;
    QAction *Visualiseurdimages1;
    QAction *Configurationduscanner1;
    QAction *Configurationdelimprimante1;
    QAction *Quitter1;
    QAction *Exporterenvideo1;
    QAction *Planchedimage1;
    QAction *Imagetaillenormal1;
    QAction *Infosurlimage1;
    QAction *Modededfilement2;
    QAction *Textepardefault1;
    QAction *Manipulationdelimage1;
    QAction *Conversiondelimage1;
    QAction *Image2;
    QAction *N4;
    QAction *Documentation1;
    QAction *Apropos1;
    QMenu *PopupMenu1;
    QAction *Image1;
    QAction *Scnario1;
    // Keys without a menu item: F5, Delete, Ctrl+Up, Ctrl+Down.
    QAction *lancer_action;
    QAction *supprime_diapo_action;
    QAction *deplace_haut;
    QAction *deplace_bas;

    // Toolbar.
    QToolButton *ouvre_bt;
    QToolButton *ferme_bt;
    QToolButton *planche_bt;
    QToolButton *normal_bt;
    QToolButton *edition_bt;
    QToolButton *option_bt;
    QToolButton *manipulation_bt;
    QToolButton *conversion_bt;
    QToolButton *mode_bt;
    QToolButton *BitBtn1;

    // Slide editor.
    QFrame *cadre_image;
    TPMultiImage *photo;
    TPMultiImage *photo_tmp;
    QFrame *ip;
    QToolButton *photo_file;
    QToolButton *photo_scanner;
    QToolButton *photo_supprime;
    QLineEdit *texte;
    QToolButton *option_texte;
    QToolButton *efface_texte;
    QLabel *son = nullptr;
    QToolButton *jouer_son;
    QToolButton *efface_son;

    // Scenario side.
    QListWidget *Liste = nullptr;
    QToolButton *premiere;
    QToolButton *precedante;
    QToolButton *suivante;
    QToolButton *derniere;
    QPushButton *lancer;
    QPushButton *inserer;
    QPushButton *ajouter;
    TPOUBELLE *poubelle;

    // Status line.
    TSLOGO *small_logo;
    QLabel *barre_info;
    QProgressBar *gauge1;
    THORLOGE_DIGITAL *HORLOGE_DIGITAL2;

    // Records the window's size for the player and loads the presentation settings;
    // runs once, one second after start-up or at the first close request.
    void demarrage_differe();
    // The idle handler that drives the preview's scrolling messages; detached while the player runs.
    void attache_animation(bool attache);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    bool FormCloseQuery();
    void selectionne_entree(int entree);
    void demarre_glisser();
    bool evenement_liste(QEvent *evenement);
    // A question in a confirmation box; true when answered OK.
    bool confirme(const QString &question);
    // The sound and comment of the slide on display into their fields.
    void affiche_champs();
    // Set while the window fills the list or the comment itself: no user change to follow.
    bool liste_par_programme = false;
    bool glisser_en_cours = false;
    bool souris_liste = false;
    bool survol_liste = false;
    void creer_menus();
    void creer_barre_outils();
    QWidget *creer_editeur();
    QWidget *creer_scenario();
    void creer_ligne_etat();
    // Shows "PAS D'IMAGE" and answers false unless a slide with an image is on display.
    bool verifie_image();

    void Documentation1Click();
    void Configurationdelimprimante1Click();
    void Configurationduscanner1Click();
    // The scenario, four slides a page, one print document a page.
    void Scnario1Click();
    // The picture on display, at the zoom and copies of the print options.
    void Image1Click();
    // A scanned picture saved in the start-up folder becomes the slide's picture.
    void photo_scannerClick();
    void planche_btClick();
    void normal_btClick();
    void manipulation_btClick();
    void conversion_btClick();
    void photo_Click();
    void edition_btClick();

    QTimer *minuterie_depart;
    // Plays the slide preview's scrolling messages in the application's idle time.
    AnimationIdle *animation;
    bool demarrage_fait = false;
};
