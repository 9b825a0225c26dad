#include "application.h"
#include "config_sli.h"
#include "curseurs.h"
#include "erreurs.h"
#include "TMultiP.h"
#include "imagefile.h"
#include "ecran.h"
#include "fichier_sli.h"
#include "main.h"
#include "emplacements.h"
#include "Bimage.h"
#include "Finfo.h"
#include "Label3D.h"
#include "Ftraite.h"
#include "About.h"
#include "Danhint.h"
#include "Logo.h"
#include "Slogo.h"
#include "Fplanche.h"
#include "Poubelle.h"
#include "progression.h"
#include "script_systeme.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class FenetrePrincipale : public ::testing::Test {
protected:
    void SetUp() override
    {
        titre_application = QStringLiteral("Slideshow V2.32");
        forme = std::make_unique<TForm1>();
        forme->resize(1000, 700);
    }

    void TearDown() override
    {
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
        forme.reset();
    }

    void ouvre(const QString &chemin)
    {
        script.fichiers.push_back(chemin);
        forme->ouvrir_diaporama();
    }

    // A slideshow of `n` slides, closed, with the given image path for each.
    void prepare(const QString &chemin, int n, const QString &image, const QString &son = {})
    {
        ouvre_fichier_sli(chemin);
        for (int k = 1; k <= n; ++k) {
            ajoute_fiche();
            fiche.chemin_image.affecte(image);
            fiche.chemin_son.affecte(son);
            ecrit_fiche(k);
        }
        ferme_fichier_sli();
    }

    struct Etat {
        bool liste, navigation, lancer, inserer, ajouter, menus, boutons;
    };

    Etat etat() const
    {
        const TForm1 &f = *forme;
        const bool nav = f.premiere->isEnabled();
        EXPECT_EQ(nav, f.precedante->isEnabled());
        EXPECT_EQ(nav, f.suivante->isEnabled());
        EXPECT_EQ(nav, f.derniere->isEnabled());
        const bool menus = f.option_me->menuAction()->isEnabled();
        EXPECT_EQ(menus, f.Visualisation_me->menuAction()->isEnabled());
        EXPECT_EQ(menus, f.Edition_me->menuAction()->isEnabled());
        EXPECT_EQ(menus, f.Fermerundiaporama_me->isEnabled());
        const bool boutons = f.planche_bt->isEnabled();
        for (QWidget *w : std::initializer_list<QWidget *>{
                 f.normal_bt, f.edition_bt, f.ferme_bt, f.option_bt, f.manipulation_bt,
                 f.conversion_bt, f.mode_bt, f.photo_file, f.photo_scanner, f.photo_supprime})
            EXPECT_EQ(boutons, w->isEnabled()) << w->toolTip().toStdString();
        return {f.Liste->isEnabled(), nav, f.lancer->isEnabled(), f.inserer->isEnabled(),
                f.ajouter->isEnabled(), menus, boutons};
    }

    static void attend(const Etat &e, const Etat &attendu)
    {
        EXPECT_EQ(e.liste, attendu.liste);
        EXPECT_EQ(e.navigation, attendu.navigation);
        EXPECT_EQ(e.lancer, attendu.lancer);
        EXPECT_EQ(e.inserer, attendu.inserer);
        EXPECT_EQ(e.ajouter, attendu.ajouter);
        EXPECT_EQ(e.menus, attendu.menus);
        EXPECT_EQ(e.boutons, attendu.boutons);
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    std::unique_ptr<TForm1> forme;
};

TEST_F(FenetrePrincipale, LesTroisEtatsActiventExactementLeursCommandes)
{
    EXPECT_EQ(forme->diapo_courante(), -2);
    attend(etat(), {false, false, false, false, false, false, false});
    EXPECT_TRUE(forme->Documentation1->isEnabled());
    EXPECT_TRUE(forme->Ouvrirundiaporama1->isEnabled());

    const QString nouveau = dossier.chemin(QStringLiteral("nouveau.sli"));
    ouvre(nouveau);
    EXPECT_EQ(forme->diapo_courante(), -1);
    attend(etat(), {false, false, false, false, true, true, true});
    EXPECT_EQ(QFile(nouveau).size(), 987);
    EXPECT_EQ(forme->windowTitle(), QStringLiteral("Slideshow V2.32 - ") + nouveau);
    EXPECT_EQ(forme->Liste->count(), 0);
    EXPECT_EQ(script.demandes.at(0).titre, QStringLiteral("OUVRIR OU CREER UN DIAPORAMA"));
    EXPECT_EQ(script.demandes.at(0).filtre, QStringLiteral("Diaporama|*.sli"));

    forme->fermer_diaporama();
    const QString plein = dossier.chemin(QStringLiteral("plein.sli"));
    prepare(plein, 2, QStringLiteral("a.jpg"));
    ouvre(plein);
    EXPECT_EQ(forme->diapo_courante(), 1);
    attend(etat(), {true, true, true, true, true, true, true});
    EXPECT_EQ(forme->Liste->count(), 2);
    EXPECT_EQ(forme->Liste->item(0)->text(), QStringLiteral("Diapositive n°1 - a.jpg"));

    forme->fermer_diaporama();
    EXPECT_EQ(forme->windowTitle(), QStringLiteral("Slideshow V2.32"));
    attend(etat(), {false, false, false, false, false, false, false});
    EXPECT_EQ(forme->Liste->count(), 0);
}

TEST_F(FenetrePrincipale, UnDialogueAnnuleNeChangeRien)
{
    const QString plein = dossier.chemin(QStringLiteral("plein.sli"));
    prepare(plein, 3, QStringLiteral("a.jpg"));
    ouvre(plein);
    const QString titre = forme->windowTitle();
    ouvre(QString());  // cancelled
    EXPECT_TRUE(fichier_sli_ouvert());
    EXPECT_EQ(forme->nom_diaporama(), plein);
    EXPECT_EQ(forme->windowTitle(), titre);
    EXPECT_EQ(forme->diapo_courante(), 1);
    EXPECT_EQ(nombre_fiches(), 4);
}

TEST_F(FenetrePrincipale, LExempleEstRelocaliseQuelleQueSoitLaCasseMaisPasUneCopie)
{
    const QString ancien_image = QStringLiteral("C:\\DEMO\\PLAGE.JPG");
    const QString ancien_son = QStringLiteral("/cd/demo/vague.wav");
    const QString exemple = dossier.chemin(QStringLiteral("demo_Kv.sli"));
    const QString copie = dossier.chemin(QStringLiteral("copie.sli"));
    prepare(exemple, 2, ancien_image, ancien_son);
    QFile::copy(exemple, copie);

    ouvre(exemple);
    for (int i = 1; i <= 2; ++i) {
        lit_fiche(i);
        EXPECT_EQ(fiche.chemin_image.valeur(), dossier.chemin(QStringLiteral("PLAGE.JPG")));
        EXPECT_EQ(fiche.chemin_son.valeur(), dossier.chemin(QStringLiteral("vague.wav")));
    }
    lit_fiche(0);
    EXPECT_TRUE(fiche.chemin_image.est_vide());  // empty paths stay empty
    forme->fermer_diaporama();

    ouvre(copie);
    lit_fiche(1);
    EXPECT_EQ(fiche.chemin_image.valeur(), ancien_image);
    EXPECT_EQ(fiche.chemin_son.valeur(), ancien_son);
}

TEST_F(FenetrePrincipale, UneOuvertureRateeLaisseLEditeurSansDiaporamaEtLeProgrammePeutFinir)
{
    const QString bon = dossier.chemin(QStringLiteral("bon.sli"));
    prepare(bon, 2, QStringLiteral("a.jpg"));
    ouvre(bon);
    forme->texte->setText(QStringLiteral("gardé"));
    forme->sauve();

    // As from a click: the error reaches the general error box.
    EXPECT_FALSE(erreurs::sous_garde([&] { ouvre(dossier.chemin(QStringLiteral("absent/nouveau.sli"))); }));
    EXPECT_EQ(script.textes_boites().last(), QStringLiteral("Fichier introuvable"));
    EXPECT_FALSE(fichier_sli_ouvert());
    EXPECT_EQ(forme->windowTitle(), QStringLiteral("Slideshow V2.32"));
    attend(etat(), {false, false, false, false, false, false, false});

    script.reponses.push_back(systeme::OK);
    const int boites = script.boites.size();
    EXPECT_TRUE(forme->close());
    EXPECT_EQ(script.boites.size(), boites + 1);  // the question only: no file error
    ouvre_fichier_sli(bon);
    lit_fiche(1);
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("gardé"));
}

TEST_F(FenetrePrincipale, LesAutresFenetresSeFermentAvecLaFenetrePrincipale)
{
    forme->show();
    QWidget aide;
    aide.show();
    script.reponses.push_back(systeme::OK);
    EXPECT_TRUE(forme->close());
    EXPECT_FALSE(aide.isVisible());
}

TEST_F(FenetrePrincipale, UnClicPendantLaLectureDUneImageNeFaitRien)
{
    const QString chemin = dossier.chemin(QStringLiteral("d.sli"));
    prepare(chemin, 1, QStringLiteral(VISTA_ASSETS "/demo/PLAGE.JPG"));
    ouvre(chemin);
    forme->show();
    const auto avant = ProgressCallback;
    bool clique = false;
    ProgressCallback = [&](int pourcentage) {
        if (!clique) {
            clique = true;
            const QPointF centre = QPointF(forme->ferme_bt->rect().center());
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    forme->ferme_bt, new QMouseEvent(type, centre, forme->ferme_bt->mapToGlobal(centre),
                                                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        }
        return avant(pourcentage);
    };
    forme->photo->setImageName(QStringLiteral(VISTA_ASSETS "/demo/PLAGE.JPG"));
    ProgressCallback = avant;
    QCoreApplication::processEvents();
    EXPECT_TRUE(clique);
    EXPECT_TRUE(fichier_sli_ouvert());
    EXPECT_EQ(forme->windowTitle(), QStringLiteral("Slideshow V2.32 - ") + chemin);
}

TEST_F(FenetrePrincipale, LeCurseurDeDeplacementNApparaitQuAuGlisser)
{
    EXPECT_NE(forme->Liste->cursor().shape(), curseur_ecran(150).shape());
    EXPECT_FALSE(forme->Liste->testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(forme->photo_scanner->toolTip(), QStringLiteral("Scannériser une image"));
}

TEST_F(FenetrePrincipale, QuitterEcritLaDiapoAfficheeEtAnnulerGardeLeProgramme)
{
    const QString plein = dossier.chemin(QStringLiteral("plein.sli"));
    prepare(plein, 2, QStringLiteral("a.jpg"));
    ouvre(plein);
    forme->show();
    forme->texte->setText(QStringLiteral("Coucher de soleil"));
    forme->sauve();
    fiche.chemin_son.affecte(QStringLiteral("mer.wav"));  // changed in the buffer only

    script.reponses.push_back(systeme::Annuler);
    EXPECT_FALSE(forme->close());
    EXPECT_TRUE(forme->isVisible());
    EXPECT_TRUE(fichier_sli_ouvert());
    EXPECT_EQ(script.boites.last().texte, QStringLiteral("Désirez-vous quitter Slideshow V2.32"));
    EXPECT_EQ(script.boites.last().type, systeme::TypeBoite::Confirmation);
    EXPECT_EQ(script.boites.last().boutons, systeme::OK | systeme::Annuler);

    script.reponses.push_back(systeme::OK);
    EXPECT_TRUE(forme->close());
    EXPECT_FALSE(fichier_sli_ouvert());
    ouvre_fichier_sli(plein);
    lit_fiche(1);
    EXPECT_EQ(fiche.chemin_son.valeur(), QStringLiteral("mer.wav"));
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("Coucher de soleil"));
}

TEST_F(FenetrePrincipale, UneErreurEnQuittantLaisseLeProgrammeOuvert)
{
    const QString plein = dossier.chemin(QStringLiteral("plein.sli"));
    prepare(plein, 1, QStringLiteral("a.jpg"));
    ouvre(plein);
    forme->show();
    ferme_fichier_sli();  // the slide on display can no longer be written
    script.reponses.push_back(systeme::OK);
    EXPECT_FALSE(forme->close());
    EXPECT_TRUE(forme->isVisible());
    EXPECT_EQ(script.boites.last().texte, QStringLiteral("Erreur E/S 103"));
}

TEST_F(FenetrePrincipale, LeDemarrageCreeSliCfgEtRetientLaTaille)
{
    // In the user's configuration folder, never in the current folder.
    const QString config = emplacements::dossier_config() + QStringLiteral("SLI.CFG");
    QFile::remove(config);
    reglages = {1, 2, 40};
    forme->resize(900, 650);
    forme->show();
    QTest::qWait(1200);
    EXPECT_FALSE(QFile::exists(QStringLiteral("SLI.CFG")));
    EXPECT_EQ(QFile(config).size(), 49);
    EXPECT_EQ(reglages.mode_defilement, 2);
    EXPECT_EQ(reglages.controle, 1);
    EXPECT_EQ(reglages.delai, 10);
    EXPECT_EQ(forme->largeur_depart, 900);
    EXPECT_EQ(forme->hauteur_depart, 650);
    forme->resize(500, 400);
    QTest::qWait(50);
    EXPECT_EQ(forme->largeur_depart, 900);  // recorded once
    capture_ecran(forme.get(), QStringLiteral("fenetre_principale"));
}

TEST_F(FenetrePrincipale, SansImageLesOutilsDisentPasDImage)
{
    const QString vide = dossier.chemin(QStringLiteral("vide.sli"));
    prepare(vide, 1, QString());
    ouvre(vide);
    forme->normal_bt->click();
    forme->manipulation_bt->click();
    forme->conversion_bt->click();
    EXPECT_EQ(script.textes_boites(),
              (QStringList{"PAS D'IMAGE", "PAS D'IMAGE", "PAS D'IMAGE"}));
    EXPECT_EQ(script.boites.first().type, systeme::TypeBoite::Information);
}

TEST_F(FenetrePrincipale, LaConversionDonneSonFichierALaDiapoSansPerdreLeCommentaireTape)
{
    const QString image = dossier.chemin(QStringLiteral("vue.png"));
    QImage(40, 30, QImage::Format_RGB32).save(image, "PNG");
    const QString plein = dossier.chemin(QStringLiteral("plein.sli"));
    prepare(plein, 1, image);
    ouvre(plein);
    forme->texte->setText(QStringLiteral("tapé"));
    script.dialogues.push_back([](QDialog &) { return int(QDialog::Accepted); });  // closed at once
    forme->manipulation_bt->click();
    script.dialogues.push_back([](QDialog &d) {
        auto &c = static_cast<Tconversion &>(d);
        c.CTOBMP->click();
        c.Convert->click();
        return int(QDialog::Accepted);
    });
    forme->conversion_bt->click();
    lit_fiche(1);
    EXPECT_EQ(fiche.chemin_image.valeur(), dossier.chemin(QStringLiteral("vue.BMP")));
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("tapé"));
    // The information box holds the displayed file's name and size.
    script.dialogues.push_back([](QDialog &d) {
        auto &info = static_cast<Tinfo_image &>(d);
        EXPECT_EQ(info.info_nom->text(), "vue.BMP");
        EXPECT_EQ(info.info_largeur->text(), "40");
        return int(QDialog::Accepted);
    });
    QTest::mouseDClick(forme->photo, Qt::LeftButton);
    EXPECT_EQ(script.dialogues_montres, (QStringList{"traitement", "conversion", "info_image"}));
}

TEST_F(FenetrePrincipale, LaDocumentationOuvreDocHlpAuContexte1)
{
    forme->BitBtn1->click();
    forme->Documentation1->trigger();
    ASSERT_EQ(script.aides.size(), 2);
    EXPECT_EQ(script.aides[0].first, QStringLiteral(VISTA_ASSETS "/demo/DOC.HLP"));
    EXPECT_EQ(script.aides[0].second, 1);
}

TEST_F(FenetrePrincipale, AProposAnimeSonLogoLeTempsDeSaBoite)
{
    EXPECT_TRUE(forme->small_logo->actif());
    bool logo_anime = false;
    script.dialogues.push_back([&](QDialog &boite) {
        logo_anime = forme->a_propos->LOGO1->actif();
        EXPECT_EQ(&boite, forme->a_propos);
        return int(QDialog::Accepted);
    });
    forme->Apropos1->trigger();
    EXPECT_TRUE(logo_anime);
    EXPECT_FALSE(forme->a_propos->LOGO1->actif());
}

TEST_F(FenetrePrincipale, SesAidesSontDesBullesVersLeBasADroite)
{
    forme->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(forme.get()));
    const QPoint souris = forme->ouvre_bt->mapToGlobal(QPoint(5, 5));
    QCursor::setPos(souris);
    QHelpEvent aide(QEvent::ToolTip, QPoint(5, 5), souris);
    QApplication::sendEvent(forme->ouvre_bt, &aide);
    TNewHint *bulle = fenetre_bulle();
    ASSERT_TRUE(bulle && bulle->isVisible());
    EXPECT_EQ(bulle->windowTitle(), forme->ouvre_bt->toolTip());
    EXPECT_EQ(bulle->direction(), hdDownRight);
    EXPECT_EQ(bulle->pos(), souris + QPoint(0, 15));
    capture_ecran(bulle, QStringLiteral("bulle_fenetre_principale"));
    bulle->hide();
}

TEST_F(FenetrePrincipale, LaProgressionMontreLePourcentageEtRevientAZero)
{
    EXPECT_EQ(progression(40), 1);
    EXPECT_EQ(forme->gauge1->value(), 40);
    EXPECT_EQ(progression(100), 1);
    EXPECT_EQ(forme->gauge1->value(), 0);

    QWidget outil;
    QProgressBar jauge(&outil);
    jauge.setRange(0, 100);
    ajoute_jauge({&outil, &jauge, true});
    outil.show();
    EXPECT_EQ(progression(55), 1);
    EXPECT_EQ(jauge.value(), 55);
    EXPECT_EQ(forme->gauge1->value(), 0);  // left alone while the tool window shows
    retire_jauges();

    // A tool window destroyed without a word: its gauge drops out of the registry.
    {
        auto *passager = new QWidget;
        ajoute_jauge({passager, new QProgressBar(passager), true});
        passager->show();
        delete passager;
    }
    EXPECT_EQ(progression(30), 1);
    EXPECT_EQ(forme->gauge1->value(), 30);
}

}  // namespace

namespace {

TEST(Commentaire, LeChampRefuseLesCaracteresQueLeFichierNePeutGarder)
{
    titre_application = QStringLiteral("Slideshow V2.32");
    TForm1 forme;
    forme.texte->setEnabled(true);
    forme.texte->show();
    forme.texte->setFocus();
    forme.texte->insert(QStringLiteral("Noël à 5 €"));  // typed or pasted text alike
    forme.texte->insert(QStringLiteral("日本"));
    EXPECT_EQ(forme.texte->text(), QStringLiteral("Noël à 5 €"));
}

}  // namespace

TEST_F(FenetrePrincipale, LaPoubelleSuitLaDiapoAfficheeEtDemandeLaSuppression)
{
    const QString plein = dossier.chemin(QStringLiteral("plein.sli"));
    prepare(plein, 2, QString());
    QSignalSpy demandes(forme->poubelle, &TPOUBELLE::suppression_demandee);
    ouvre(plein);
    forme->show();
    QTest::mouseClick(forme->poubelle, Qt::LeftButton);
    QTest::mouseClick(forme->poubelle, Qt::RightButton);
    EXPECT_EQ(demandes.count(), 1);
    EXPECT_EQ(script.sons, QStringList({VISTA_ASSETS "/demo/alumette.wav", VISTA_ASSETS "/demo/feu.wav"}));
    capture_ecran(forme.get(), QStringLiteral("fenetre_poubelle_allumee"));

    forme->fermer_diaporama();
    QTest::mouseClick(forme->poubelle, Qt::LeftButton);
    EXPECT_EQ(script.sons.size(), 2);
    EXPECT_EQ(forme->poubelle->toolTip(), QStringLiteral("LA POUBELLE EST VIDE"));
}

TEST_F(FenetrePrincipale, LaPlancheChoisitUneDiapoOuRendCelleDeLEditeur)
{
    const QString chemin = dossier.chemin(QStringLiteral("planche.sli"));
    ouvre_fichier_sli(chemin);
    for (int k = 1; k <= 20; ++k) {
        ajoute_fiche();
        fiche.commentaire.affecte(QStringLiteral("diapo %1").arg(k));
        ecrit_fiche(k);
    }
    ferme_fichier_sli();
    ouvre(chemin);
    const auto sur_la_planche = [](std::function<void(TPlanche &)> geste) {
        return [geste](QDialog &d) {
            auto &planche = static_cast<TPlanche &>(d);
            planche.show();
            planche.Image3Click();
            geste(planche);
            return planche.result();
        };
    };
    script.dialogues.push_back(sur_la_planche([](TPlanche &p) { p.BitBtn3Click(); }));
    forme->planche_bt->click();
    EXPECT_EQ(forme->diapo_courante(), 1);
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("diapo 1"));

    script.dialogues.push_back(
        sur_la_planche([](TPlanche &p) { QTest::mouseDClick(p.cadre[5], Qt::LeftButton); }));
    forme->Planchedimage1->trigger();
    EXPECT_EQ(forme->diapo_courante(), 17);
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("diapo 17"));
    EXPECT_EQ(forme->texte->text(), QStringLiteral("diapo 17"));
    EXPECT_EQ(forme->Liste->currentRow(), 16);
    EXPECT_EQ(script.dialogues_montres, (QStringList{"Planche", "Planche"}));
}
