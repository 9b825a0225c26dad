#include "Fgauge.h"
#include "Fplanche.h"
#include "Info.h"
#include "Label3D.h"
#include "TMultiP.h"
#include "cache_vignettes.h"
#include "ecran.h"
#include "erreurs.h"
#include "fichier_sli.h"
#include "regles_planche.h"
#include "script_systeme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

TEST(ReglesPlanche, PagesEtEmplacements)
{
    struct Cas {
        int diapos, pages;
    };
    for (const Cas c : {Cas{0, 1}, Cas{1, 1}, Cas{12, 1}, Cas{13, 2}, Cas{24, 2}, Cas{25, 3}}) {
        NavigationPlanche n(c.diapos);
        EXPECT_EQ(n.nombre_pages(), c.pages) << c.diapos;
        EXPECT_FALSE(n.precedente());
        for (int p = 2; p <= c.pages; ++p)
            EXPECT_TRUE(n.suivante());
        EXPECT_FALSE(n.suivante()) << c.diapos;
        EXPECT_EQ(n.page(), c.pages);
    }
    NavigationPlanche n(13);
    ASSERT_TRUE(n.suivante());
    EXPECT_EQ(n.diapo(1), 13);
    EXPECT_EQ(n.diapo(2), 0);
    n.selectionne(4);
    n.debut();
    EXPECT_EQ(n.page(), 1);
    EXPECT_EQ(n.diapo_choisie(), 1);

    EXPECT_EQ(rectangle_cadre(1), QRect(2, 2, 154, 135));
    EXPECT_EQ(rectangle_cadre(6), QRect(158, 139, 154, 135));
    EXPECT_EQ(rectangle_cadre(12), QRect(470, 276, 154, 135));
}

TEST(ReglesPlanche, VignetteReduiteEtCentree)
{
    struct Cas {
        QSize image;
        bool etire;
        QRect rectangle;
    };
    for (const Cas &c : {Cas{{1000, 500}, true, {4, 23, 144, 72}}, Cas{{1000, 1000}, true, {22, 4, 109, 109}},
                         Cas{{100, 80}, false, {26, 19, 100, 80}}, Cas{{145, 110}, false, {4, 4, 145, 110}},
                         Cas{{0, 0}, false, {76, 59, 0, 0}}}) {
        const PlacementVignette p = place_vignette(c.image);
        EXPECT_EQ(p.etire, c.etire) << c.image.width();
        EXPECT_EQ(p.rectangle, c.rectangle) << c.image.width();
    }
}

TEST(ReglesPlanche, LaTailleDuFichierTourneeCommeLImageLue)
{
    struct Cas {
        QSize fichier, lue, droite;
    };
    for (const Cas &c : {Cas{{3000, 4000}, {256, 192}, {4000, 3000}}, Cas{{4000, 3000}, {144, 192}, {3000, 4000}},
                         Cas{{4000, 3000}, {500, 375}, {4000, 3000}}, Cas{{1000, 999}, {125, 125}, {1000, 999}},
                         Cas{{100, 100}, {100, 100}, {100, 100}}, Cas{{0, 0}, {0, 0}, {0, 0}}})
        EXPECT_EQ(taille_droite(c.fichier, c.lue), c.droite) << c.fichier.width() << "x" << c.lue.width();
}

TEST(ReglesPlanche, JaugeParPassage)
{
    EXPECT_EQ(valeur_jauge(1, 13), 8);
    EXPECT_EQ(valeur_jauge(6, 12), 50);
    EXPECT_EQ(valeur_jauge(12, 12), 100);
    EXPECT_EQ(valeur_jauge(3, 3), 100);
    EXPECT_EQ(valeur_jauge(9, 3), 100);
}

// A slideshow of `n` slides in a scratch folder: slide 1 a wide JPEG, 2 a square
// PNG, 3 a small BMP, 4 a missing file, 5 no picture, the others the small BMP.
class Planche : public ::testing::Test {
protected:
    void SetUp() override { prepare(17); }

    void TearDown() override
    {
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
    }

    void prepare(int n)
    {
        QImage large(1000, 500, QImage::Format_RGB32);
        large.fill(QColor(40, 90, 160));
        large.save(dossier.chemin("large.jpg"), "JPEG");
        QImage carre(1000, 1000, QImage::Format_RGB32);
        carre.fill(QColor(200, 120, 40));
        carre.save(dossier.chemin("carre.png"), "PNG");
        QImage petit(100, 80, QImage::Format_RGB32);
        petit.fill(QColor(60, 160, 70));
        petit.save(dossier.chemin("petit.bmp"), "BMP");
        ouvre_fichier_sli(dossier.chemin("essai.sli"));
        for (int k = 1; k <= n; ++k) {
            ajoute_fiche();
            const char *images[] = {"large.jpg", "carre.png", "petit.bmp", "absent.bmp", ""};
            fiche.chemin_image.affecte(dossier.chemin(QString::fromLatin1(k <= 5 ? images[k - 1] : "petit.bmp")));
            if (k == 5)
                fiche.chemin_image.vide();
            ecrit_fiche(k);
        }
    }

    void clic(QWidget *w, Qt::MouseButton bouton = Qt::LeftButton)
    {
        QTest::mousePress(w, bouton, {}, QPoint(3, 3));
        QTest::mouseRelease(w, bouton, {}, QPoint(3, 3));
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    Tjauge jauge;
    Tinfo_diapo info;
    TPlanche planche{&info, &jauge};
};

TEST_F(Planche, UnePageSeRemplitVignettesEtNoms)
{
    QList<int> valeurs;
    QObject::connect(jauge.barre, &QProgressBar::valueChanged, [&](int v) { valeurs << v; });
    planche.show();
    EXPECT_FALSE(jauge.isVisible());
    EXPECT_EQ(jauge.windowTitle(), QStringLiteral("Chargement des Images"));
    EXPECT_EQ(valeurs.value(0), 8);
    EXPECT_EQ(valeurs.last(), 100);

    struct Cas {
        int k;
        QString nom;
        bool etire;
        QRect rectangle;
    };
    for (const Cas &c : {Cas{1, "large.jpg", true, {4, 23, 144, 72}}, Cas{2, "carre.png", true, {22, 4, 109, 109}},
                         Cas{3, "petit.bmp", false, {26, 19, 100, 80}}}) {
        EXPECT_EQ(planche.nom[c.k]->text(), c.nom);
        EXPECT_EQ(planche.image[c.k]->Stretch(), c.etire) << c.k;
        EXPECT_EQ(planche.image[c.k]->geometry(), c.rectangle) << c.k;
    }
    // The wide JPEG was decoded small, yet is described by its own size.
    EXPECT_LT(planche.image[1]->Picture().size().width(), 1000);
    EXPECT_EQ(planche.image[1]->InfoWidth, 1000);
    EXPECT_EQ(planche.nom[4]->text(), QStringLiteral("Image non trouvée"));
    EXPECT_TRUE(planche.image[4]->Picture().isEmpty());
    EXPECT_EQ(planche.nom[5]->text(), QStringLiteral("Pas de photo"));
    EXPECT_EQ(planche.planche_n->text(), QStringLiteral("PLANCHE N° 1"));
    capture_ecran(&planche, QStringLiteral("planche"));

    // Beyond its range the gauge shows a full bar (a value out of range would be ignored).
    jauge.ouvre(QStringLiteral("Chargement des Images"));
    jauge.avance(60);
    capture_ecran(&jauge, QStringLiteral("jauge"));
    jauge.avance(108);
    EXPECT_EQ(jauge.barre->value(), 100);
    jauge.ferme();
}

// A thumbnail cache that cannot be written: the sheet fills all the same, silently.
TEST_F(Planche, UnCacheDeVignettesQuiNePeutEtreEcritNEmpecheRien)
{
    const QString racine = cache_vignettes::racine().chopped(1);
    ASSERT_TRUE(QDir(racine).removeRecursively() && QDir().mkpath(QFileInfo(racine).path()));
    QFile bouchon(racine);  // a file where the cache's folder should be
    ASSERT_TRUE(bouchon.open(QIODevice::WriteOnly));
    bouchon.close();
    planche.show();
    EXPECT_EQ(planche.image[1]->Picture().size(), QSize(256, 128));
    EXPECT_EQ(planche.image[2]->Picture().size(), QSize(256, 256));
    EXPECT_TRUE(script.boites.isEmpty());
    EXPECT_TRUE(QFileInfo(racine).isFile());
}

TEST_F(Planche, PagesSuivantesEtPrecedentes)
{
    planche.show();
    planche.Image4Click();
    EXPECT_EQ(planche.navigation().page(), 1);
    QList<int> valeurs;
    QObject::connect(jauge.barre, &QProgressBar::valueChanged, [&](int v) { valeurs << v; });
    QTest::mouseClick(planche.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(planche.planche_n->text(), QStringLiteral("PLANCHE N° 2"));
    EXPECT_EQ(valeurs.value(1), 8);  // after the reset to 0: slide 13 of 17 loads at 8 %
    EXPECT_EQ(planche.nom[5]->text(), QStringLiteral("petit.bmp"));
    EXPECT_TRUE(planche.nom[6]->text().isEmpty());
    EXPECT_TRUE(planche.image[6]->Picture().isEmpty());
    planche.Image3Click();
    EXPECT_EQ(planche.navigation().page(), 2);
    QTest::mouseClick(planche.banque_precedente, Qt::LeftButton);
    EXPECT_EQ(planche.nom[6]->text(), QStringLiteral("petit.bmp"));
    EXPECT_EQ(planche.navigation().selection(), 1);

    // The wheel: a notch down is the next page, a notch up the previous; half notches add up.
    const auto roule = [&](int angle) {
        QWheelEvent roue(QPointF(40, 40), planche.mapToGlobal(QPointF(40, 40)), {}, {0, angle}, Qt::NoButton,
                         {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&planche, &roue);
        return planche.navigation().page();
    };
    for (const auto &[angle, page] : {std::pair{-120, 2}, {-120, 2}, {120, 1}, {-60, 1}, {-60, 2}})
        EXPECT_EQ(roule(angle), page) << angle;
    planche.activateWindow();
    QTest::keyClick(&planche, Qt::Key_Escape);
    EXPECT_FALSE(planche.isVisible());
    EXPECT_EQ(planche.result(), QDialog::Rejected);
}

TEST_F(Planche, ClicsSurLesEmplacements)
{
    planche.show();
    planche.Image3Click();
    clic(planche.cadre[8]);  // empty slot
    EXPECT_EQ(planche.navigation().selection(), 1);
    EXPECT_TRUE(script.dialogues_montres.isEmpty());

    QString titre, largeur, son;
    script.dialogues.push_back([&](QDialog &d) {
        d.show();
        titre = d.windowTitle();
        largeur = info.info_largeur->text();
        son = info.son->text();
        info.TabSet1->setCurrentIndex(1);
        capture_ecran(&d, QStringLiteral("info_image_carre"));
        d.hide();
        return int(QDialog::Rejected);
    });
    planche.Image4Click();
    clic(planche.nom[2], Qt::RightButton);
    EXPECT_EQ(planche.navigation().selection(), 2);
    EXPECT_EQ(script.dialogues_montres, QStringList{QStringLiteral("info_diapo")});
    EXPECT_EQ(titre, QStringLiteral("Diapositive n°2"));
    EXPECT_EQ(largeur, QStringLiteral("1000"));
    EXPECT_TRUE(son.isEmpty());
    EXPECT_EQ(planche.cadre[2]->palette().color(QPalette::Window), planche.palette().color(QPalette::Highlight));
    EXPECT_EQ(planche.cadre[1]->palette().color(QPalette::Window), planche.palette().color(QPalette::Button));

    // The missing picture's slot describes no picture, not the one its control held before.
    script.dialogues.push_back([&](QDialog &) {
        largeur = info.info_largeur->text();
        return int(QDialog::Rejected);
    });
    clic(planche.image[4], Qt::RightButton);
    EXPECT_TRUE(largeur.isEmpty());
    EXPECT_FALSE(planche.choisi);
}

TEST_F(Planche, ChoixParDoubleClicOuAnnulation)
{
    planche.show();
    planche.Image3Click();
    // A right double click opens the slide's information, and chooses nothing.
    for (int fois = 0; fois < 3; ++fois)
        script.dialogues.push_back([](QDialog &) { return int(QDialog::Rejected); });
    QTest::mouseDClick(planche.image[5], Qt::RightButton);
    EXPECT_FALSE(planche.choisi);
    EXPECT_EQ(script.dialogues_montres.value(0), QStringLiteral("info_diapo"));
    script.dialogues.clear();
    QTest::mouseDClick(planche.image[5], Qt::LeftButton);
    EXPECT_TRUE(planche.choisi);
    EXPECT_EQ(planche.curseur_fiche, 17);
    EXPECT_EQ(planche.result(), int(QDialog::Accepted));

    planche.show();
    EXPECT_FALSE(planche.choisi);
    EXPECT_EQ(planche.navigation().page(), 1);
    planche.Image3Click();
    QTest::mouseDClick(planche.cadre[9], Qt::LeftButton);  // empty: the selected slide, 13
    EXPECT_EQ(planche.curseur_fiche, 13);

    planche.show();
    planche.Image3Click();
    QTest::mouseClick(planche.BitBtn3, Qt::LeftButton);
    EXPECT_FALSE(planche.choisi);
    EXPECT_FALSE(planche.isVisible());
}

TEST_F(Planche, UneErreurDeLectureNeLaissePasLaJauge)
{
    planche.show();
    QFile(dossier.chemin("essai.sli")).resize(qint64(TAILLE_FICHE) * 10);
    EXPECT_THROW(planche.Image3Click(), erreurs::ErreurES);
    EXPECT_FALSE(jauge.isVisible());
}

TEST_F(Planche, FenetreInformationDiapositive)
{
    lit_fiche(17);
    fiche.chemin_image.vide();
    fiche.chemin_son.affecte(QStringLiteral("/sons/vague.wav"));
    const QString long_texte = QString(255, QLatin1Char('x'));
    fiche.commentaire.affecte(long_texte);
    ecrit_fiche(17);
    info.numero = 17;
    info.show();
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Diapositive n°17"));
    EXPECT_TRUE(info.image->text().isEmpty());
    EXPECT_EQ(info.son->text(), QStringLiteral("/sons/vague.wav"));
    EXPECT_EQ(info.texte->toPlainText(), long_texte);
    capture_ecran(&info, QStringLiteral("info_diapositive"));
    info.TabSet1->setCurrentIndex(1);
    EXPECT_EQ(info.Notebook1->currentIndex(), 1);
    info.info_type->setText(QStringLiteral("JPEG"));
    capture_ecran(&info, QStringLiteral("info_image"));
    info.hide();
    info.numero = 2;
    info.show();
    EXPECT_EQ(info.Notebook1->currentIndex(), 1);
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Diapositive n°2"));
}

}  // namespace
