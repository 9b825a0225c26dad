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
#include "diaporama.h"
#include "fichier_sli.h"
#include "module_video.h"
#include "progression.h"
#include "systeme.h"
#include "Bimage.h"
#include "Fconvert.h"
#include "Fprint.h"
#include "Fsauve.h"
#include "formats_outils.h"
#include "outils.h"
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
#include <QSignalBlocker>
#include <QScopeGuard>
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
    connect(&document(), &Diaporama::change, this, &TForm1::rafraichit);
    position_main();
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

Diaporama &TForm1::document() { return Diaporama::courant(); }

int TForm1::diapo_courante() const { return Diaporama::courant().courante(); }

QString TForm1::nom_diaporama() const { return Diaporama::courant().nom(); }

void TForm1::active_commande()
{
    const Diaporama &d = Diaporama::courant();
    const bool diapo = d.courante() >= 0;
    const bool modifiable = !d.lecture_seule();
    for (QWidget *w : std::initializer_list<QWidget *>{Liste, premiere, precedante, suivante, derniere, lancer})
        w->setEnabled(diapo);
    inserer->setEnabled(diapo && modifiable);
    ajouter->setEnabled(d.courante() >= -1 && modifiable);

    const bool ouvert = d.ouvert();
    for (QMenu *m : {option_me, Visualisation_me, Edition_me})
        m->menuAction()->setEnabled(ouvert);
    Fermerundiaporama_me->setEnabled(ouvert);
    Exporterenvideo1->setEnabled(diapo);
    for (QWidget *w : std::initializer_list<QWidget *>{planche_bt, normal_bt, edition_bt, ferme_bt, mode_bt})
        w->setEnabled(ouvert);
    for (QWidget *w : std::initializer_list<QWidget *>{option_bt, manipulation_bt, conversion_bt, photo_file,
                                                       photo_scanner, photo_supprime})
        w->setEnabled(ouvert && modifiable);
    for (QAction *a : {deplace_haut, deplace_bas, supprime_diapo_action})
        a->setEnabled(d.courante() >= 1 && modifiable);
}

void TForm1::active_diapo(bool on)
{
    photo->setVisible(on);
    son->setVisible(on);
    const bool modifiable = on && !Diaporama::courant().lecture_seule();
    cadre_image->setEnabled(on);
    jouer_son->setEnabled(on);
    texte->setEnabled(on);
    texte->setReadOnly(on && !modifiable);
    for (QWidget *w : std::initializer_list<QWidget *>{option_texte, efface_son, efface_texte})
        w->setEnabled(modifiable);
}

void TForm1::position_main() { rectangle_principal = geometry(); }

void TForm1::ouvrir_diaporama()
{
    systeme::DemandeFichier demande;
    demande.parent = this;
    demande.titre = QStringLiteral("OUVRIR OU CREER UN DIAPORAMA");
    demande.filtre = QStringLiteral("Diaporama|*.sli");
    demande.nom = QStringLiteral("*.sli");
    QString chemin = systeme::choisir_fichier(demande);
    if (chemin.isEmpty())
        return;
    // A new name typed without an extension is a slideshow's.
    if (QFileInfo(chemin).suffix().isEmpty() && !QFileInfo::exists(chemin))
        chemin += QStringLiteral(".sli");
    ouvre_diaporama(chemin);
}

void TForm1::ouvre_diaporama(const QString &chemin)
{
    constexpr int tout = Diaporama::Fichier | Diaporama::Liste | Diaporama::Affichee;
    // The sample is shown once its paths point into the start-up folder.
    auto pas_encore = std::make_unique<QSignalBlocker>(&document());
    bool ouvert = false;
    try {
        ouvert = document().ouvre(chemin);
    } catch (const erreurs::ErreurES &) {
        pas_encore.reset();
        rafraichit(tout);
        throw;
    }
    // The sample's pictures and sounds are those beside it (its copy in the user's folder).
    const bool relocalise = !ouvert || extrait_fichier(chemin).toUpper() != QStringLiteral("DEMO_KV.SLI") ||
                            document().relocalise(QFileInfo(chemin).absolutePath() + QLatin1Char('/'));
    pas_encore.reset();
    rafraichit(tout);
    if (!relocalise)
        systeme::boite(systeme::TypeBoite::Avertissement,
                       QStringLiteral("Le dossier de démarrage contient des caractères qu'un "
                                      "diaporama ne peut pas enregistrer : les images et les sons "
                                      "de l'exemple gardent leurs anciens chemins."));
}

void TForm1::fermer_diaporama() { document().ferme(); }

void TForm1::rafraichit(int quoi)
{
    const Diaporama &d = Diaporama::courant();
    if (quoi & Diaporama::Fichier) {
        setWindowTitle(d.ouvert() ? titre_application + QStringLiteral(" - ") + d.nom() +
                                        (d.lecture_seule() ? QStringLiteral(" (lecture seule)") : QString())
                                  : titre_application);
    }
    if (quoi & Diaporama::Liste)
        affecte_liste();
    if (quoi & Diaporama::Affichee)
        affiche_diapo();
    else if (quoi & Diaporama::Champs)
        affiche_champs();
    selectionne_entree(d.courante() - 1);
    active_commande();
    active_diapo(d.courante() >= 0);
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
    const Diaporama &d = Diaporama::courant();
    if (d.courante() < 0)
        return;
    for (int k = 1; k <= d.nombre(); ++k) {
        auto *entree = new QListWidgetItem(QStringLiteral("Diapositive n°%1 - %2")
                                               .arg(k)
                                               .arg(extrait_fichier(d.diapo(k).chemin_image.valeur())));
        entree->setSizeHint(QSize(0, HAUTEUR_ENTREE_LISTE));
        Liste->addItem(entree);
    }
    selectionne_entree(d.courante() - 1);
}

void TForm1::affiche_champs()
{
    liste_par_programme = true;
    texte->setText(fiche.commentaire.valeur());
    liste_par_programme = false;
    texte->setCursorPosition(0);
    son->setText(fiche.chemin_son.valeur());
}

void TForm1::affiche_diapo()
{
    Liste->setEnabled(false);
    const int courante = diapo_courante();
    if (courante < 0) {
        photo->setPicture(TPicture());
        liste_par_programme = true;
        texte->clear();
        liste_par_programme = false;
        son->clear();
    } else {
        active_diapo(true);
        montre_image(chemin_de_fiche(fiche.chemin_image.valeur()));
        affiche_champs();
    }
    poubelle->fixe_etat(courante >= 0 && !document().lecture_seule());
    Liste->setEnabled(courante >= 0);
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
    if (objet == cadre_image && evenement->type() == QEvent::Resize && diapo_courante() >= 0)
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
    document().fixe_commentaire(texte->text());
    document().enregistre();
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
    if (document().ouvert())
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
    if (diapo_courante() >= 0 && !fiche.chemin_image.est_vide())
        return true;
    systeme::boite(systeme::TypeBoite::Information, PAS_D_IMAGE);
    return false;
}

void TForm1::planche_btClick()
{
    if (diapo_courante() < 0) {
        systeme::boite(systeme::TypeBoite::Information, PAS_D_IMAGE);
        return;
    }
    sauve();
    if (const std::optional<int> choisie = Planche->diapo_choisie())
        document().va_a(*choisie);
}

void TForm1::normal_btClick()
{
    if (verifie_image())
        normal->montre(photo->Picture());
}

void TForm1::Visualiseurdimages1Click()
{
    ouvre_image->setWindowTitle(QStringLiteral("Visualiseur d'images"));
    systeme::execute(*ouvre_image);
}

void TForm1::photo_fileClick()
{
    ouvre_image->setWindowTitle(QStringLiteral("Sélectionnez une image"));
    ouvre_image->confirme_sans_fichier = true;
    const auto plus_de_question = qScopeGuard([this] { ouvre_image->confirme_sans_fichier = false; });
    const std::optional<QString> choisie = ouvre_image->choisit_image();
    if (!choisie)
        return;
    sauve();
    document().fixe_image(*choisie);
}

// The slide on display is written first; the manipulation window names a converted
// picture through the document.
void TForm1::manipulation_btClick()
{
    if (!verifie_image())
        return;
    sauve();
    traitement->numero_diapo = diapo_courante();
    traitement->image->setPicture(photo->Picture());
    systeme::execute(*traitement);
}

// The information box shows what the last displayed picture set in it.
void TForm1::photo_Click() { systeme::execute(*info_image); }

void TForm1::conversion_btClick()
{
    if (!verifie_image())
        return;
    sauve();
    conversion->MultiImage1->setPicture(photo->Picture());
    if (const std::optional<QString> converti = conversion->convertit_image())
        document().fixe_image(*converti);
}

void TForm1::edition_btClick()
{
    // The button's position is taken relative to the toolbar.
    const QPoint point(edition_bt->x() + 5, edition_bt->y() + 75);
    PopupMenu1->popup(edition_bt->parentWidget()->mapToGlobal(point));
}

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
    sauve();
    const Diaporama &d = document();
    const int fiches = d.nombre() + 1;
    const int pages = pages_scenario(fiches - 1);
    const Tjauge::Ouverte ouverte(*jauge, QStringLiteral("Chargement des Images"), 0, fiches - 1);
    const QString nom = extrait_fichier(d.nom());
    systeme::imprime_documents(pages, [&](QPainter &peintre, int document) {
        const int page = document + 1;
        dessine_cadre_scenario(peintre, page, pages, nom);
        for (int rangee = 0; rangee < kDiaposParPage; ++rangee) {
            const int k = diapo_de_la_rangee(page, rangee, fiches);
            if (k == 0)
                continue;
            jauge->avance(k);
            const FicheDiapo diapo = d.diapo(k);
            const QString image = diapo.chemin_image.valeur();
            dessine_rangee_scenario(peintre, rangee,
                                    {k, image, diapo.chemin_son.valeur(),
                                     lignes_commentaire(diapo.commentaire.valeur(), font(), 396)});
            photo_tmp->setPicture(TPicture());
            photo_tmp->setImageName(chemin_de_fiche(image));
            for (int i = 0; i < 11; ++i)
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            const QRect place = place_image_scenario(rangee, photo_tmp->Picture().size());
            if (!image.isEmpty())
                photo_tmp->PrintImage(peintre, place.x(), place.y(), place.width(), place.height());
        }
    });
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
    const std::optional<OptionsImpression> options = impression->demande();
    if (!options)
        return;
    const std::optional<int> zoom = entier_saisi(options->zoom);
    const std::optional<int> copies = zoom ? entier_saisi(options->copies) : std::nullopt;
    if (!copies)
        return;
    const double echelle = *zoom < 0 ? 1.0 : *zoom * 0.01;
    const QRect place =
        place_image_imprimee(photo->Picture().size(), echelle, options->horizontal, options->vertical);
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
        const QString nom = sauve_image->demande();
        const QString extension = nom.size() > 12 ? QString() : nom.right(3).toUpper();
        static const QStringList acceptees = {QStringLiteral("BMP"), QStringLiteral("GIF"), QStringLiteral("JPG"),
                                              QStringLiteral("PCX"), QStringLiteral("TIF")};
        const FormatOutil *format = acceptees.contains(extension) ? format_outil(extension) : nullptr;
        if (!format) {
            systeme::boite(systeme::TypeBoite::Information, QStringLiteral("nom incorrect"));
        } else {
            const QString chemin = dossier_depart + nom;
            // The picture goes into its file first: the slide names only a file that was written.
            if ((photo->*format->ecrit)(chemin)) {
                sauve();
                document().fixe_image(chemin);
            }
        }
    }
    Liste->setEnabled(true);
    affiche_diapo();
}

void TForm1::selection_liste()
{
    const int entree = Liste->currentRow();
    if (entree < 0 || entree == diapo_courante() - 1) {
        sauve();
        return;
    }
    sauve();
    document().va_a(entree + 1);
    Liste->setFocus();
    photo->repaint();
}

void TForm1::premiereClick()
{
    sauve();
    document().premiere();
}

void TForm1::precedanteClick()
{
    sauve();
    if (!document().precedente())
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Première diapositive"));
}

void TForm1::suivanteClick()
{
    sauve();
    if (!document().suivante())
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Dernière diapositive"));
}

void TForm1::derniereClick()
{
    sauve();
    document().derniere();
}

bool TForm1::evenement_liste(QEvent *evenement)
{
    switch (evenement->type()) {
    case QEvent::MouseButtonPress:
        souris_liste = true;
        glisser_en_cours = false;
        return false;
    case QEvent::MouseMove:
        if (souris_liste && diapo_courante() >= 1 && !document().lecture_seule()) {
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
    donnees->setData(FORMAT_GLISSER_DIAPO, QByteArray::number(diapo_courante()));
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
    if (!survole || diapo_courante() < 1)
        return;
    const int haut = Liste->indexAt(QPoint(0, 0)).row();
    const int cible_depot = position_liste(point.y()) + std::max(haut, 0);
    sauve();
    document().deplace(place_apres_depot(document().nombre(), cible_depot));
}

void TForm1::deplace_d_une_place(int sens)
{
    sauve();
    const int vers = diapo_courante() + sens;
    if (vers >= 1 && vers <= document().nombre())
        document().deplace(vers);
}

void TForm1::ajouterClick()
{
    sauve();
    document().ajoute();
}

void TForm1::insererClick()
{
    sauve();
    document().insere();
}

void TForm1::supprime_diapo_courante() { document().supprime(); }

void TForm1::supprime_avec_confirmation()
{
    if (diapo_courante() >= 1 && confirme(QStringLiteral("Désirez-vous supprimer cette diapositive")))
        supprime_diapo_courante();
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
    sauve();
    document().efface_image();
}

void TForm1::sonClick()
{
    systeme::DemandeFichier demande;
    demande.parent = this;
    demande.titre = QStringLiteral("Sélectionnez un son wav");
    demande.filtre = QStringLiteral("Son Wav|*.wav");
    demande.nom = chemin_de_fiche(fiche.chemin_son.valeur());
    const QString chemin = systeme::choisir_fichier(demande);
    if (chemin.isEmpty())
        return;
    sauve();
    document().fixe_son(chemin);
}

void TForm1::jouer_sonClick() { systeme::joue_son(chemin_de_fiche(fiche.chemin_son.valeur()), 1); }

void TForm1::efface_sonClick()
{
    if (!confirme(QStringLiteral("Désirez-vous affacer ce son")))
        return;
    sauve();
    document().efface_son();
}

void TForm1::texteChange(const QString &nouveau)
{
    if (!liste_par_programme)
        document().fixe_commentaire(nouveau);
}

void TForm1::efface_texteClick()
{
    if (!confirme(QStringLiteral("Désirez-vous affacer ce texte")))
        return;
    texte->clear();
    sauve();
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
    sauve();
    EmpruntFiche emprunt;
    emprunt.lit(0);
    systeme::execute(*option_affichage_general);
    emprunt.ecrit(0);
}

void TForm1::Textepardefault1Click() { option_btClick(); }

void TForm1::option_texteClick()
{
    position_main();
    option_affichage->principale = rectangle_principal;
    sauve();
    systeme::execute(*option_affichage);
    document().attributs_changes();
}

void TForm1::Exporterenvideo1Click()
{
    sauve();
    lit_config();
    // Until the mode dialog stores the rule, slides last their delay.
    exporte_par_le_module(this, reglages.attendre_fin_son,
                          chemin_module_video(QCoreApplication::applicationDirPath()));
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
}
