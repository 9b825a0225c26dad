#include "Moteur.h"
#include "TMultiP.h"
#include "config_sli.h"
#include "couleurs.h"
#include "ecran.h"
#include "fichier_sli.h"
#include "imagefile.h"
#include "script_systeme.h"
#include "son_wav.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class Lecteur : public ::testing::Test {
protected:
    void SetUp() override { reglages = {1, 1, 5}; }
    void TearDown() override
    {
        joueur.reset();
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
    }

    // Slide k has the picture "k.bmp" of 200 x 100 in a colour of its own, the comment "Diapo k"
    // and the sound "k.wav"; record 0 keeps the defaults.
    void diaporama(int n)
    {
        ouvre_fichier_sli(dossier.chemin("essai.sli"));
        for (int k = 1; k <= n; ++k) {
            const QString image = dossier.chemin(QStringLiteral("%1.bmp").arg(k));
            QImage dessin(200, 100, QImage::Format_RGB32);
            dessin.fill(QColor::fromHsv(k * 40 % 360, 255, 255));
            dessin.save(image, "BMP");
            ajoute_fiche();
            fiche.chemin_image.affecte(image);
            fiche.commentaire.affecte(QStringLiteral("Diapo %1").arg(k));
            fiche.chemin_son.affecte(dossier.chemin(QStringLiteral("%1.wav").arg(k)));
            ecrit_fiche(k);
        }
    }

    void lance()
    {
        joueur = std::make_unique<Tlance_diaporama>();
        joueur->premiere_activation = true;
        joueur->show();
        QTest::qWait(20);
    }

    void touche(Qt::Key k) { QTest::keyClick(joueur.get(), k); }
    QString texte() const { return joueur->diapositive->Text(); }
    QLabel *legende() const { return joueur->diapositive->findChild<QLabel *>(); }

    DossierTemporaire dossier;
    ScriptSysteme script;
    std::unique_ptr<Tlance_diaporama> joueur;
};

TEST_F(Lecteur, AvecUneSeuleDiapositiveChaqueMouvementLaMontreDeNouveau)
{
    diaporama(1);
    lance();
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Home, Qt::Key_End})
        touche(k);
    joueur->Timer1Timer();
    EXPECT_EQ(joueur->diapo_courante, 1);
    EXPECT_EQ(texte(), "Diapo 1");
    EXPECT_EQ(script.sons_diapo.size(), 6);
    EXPECT_EQ(script.economiseur, QList<bool>{true});
    touche(Qt::Key_Escape);
    EXPECT_FALSE(joueur->isVisible());
    EXPECT_EQ(script.economiseur, (QList<bool>{true, false}));
}

TEST_F(Lecteur, LesTouchesLaSourisEtLePaveFontLeTour)
{
    diaporama(4);
    lance();
    struct Pas { std::function<void()> geste; int attendue; };
    const Pas pas[] = {
        {[&] { touche(Qt::Key_Left); }, 4},
        {[&] { touche(Qt::Key_Right); }, 1},
        {[&] { touche(Qt::Key_End); }, 4},
        {[&] { QTest::mouseClick(joueur->diapositive, Qt::RightButton); }, 1},
        {[&] { QTest::mouseClick(joueur->diapositive, Qt::LeftButton); }, 4},
        {[&] { QTest::mouseClick(joueur->diapositive, Qt::MiddleButton); }, 4},
        {[&] { touche(Qt::Key_Home); }, 1},
        {[&] { joueur->d->click(); }, 2},
        {[&] { joueur->ld->click(); }, 4},
        {[&] { joueur->g->click(); }, 3},
        {[&] { joueur->lg->click(); }, 1},
        // The keys of presentation remote controls and of other viewers.
        {[&] { touche(Qt::Key_PageDown); }, 2},
        {[&] { touche(Qt::Key_Space); }, 3},
        {[&] { touche(Qt::Key_Return); }, 4},
        {[&] { touche(Qt::Key_Enter); }, 1},
        {[&] { touche(Qt::Key_PageUp); }, 4},
        {[&] { touche(Qt::Key_Backspace); }, 3},
        {[&] { touche(Qt::Key_Backspace); }, 2},
        {[&] { touche(Qt::Key_PageUp); }, 1},
        {[&] { touche(Qt::Key_P); }, 1},
        {[&] { touche(Qt::Key_A); }, 1},
    };
    for (const Pas &p : pas) {
        p.geste();
        EXPECT_EQ(joueur->diapo_courante, p.attendue);
        EXPECT_EQ(texte(), QStringLiteral("Diapo %1").arg(p.attendue));
    }
    EXPECT_EQ(joueur->diapositive->Picture().image().pixel(0, 0), QColor::fromHsv(40, 255, 255).rgb());
    EXPECT_EQ(script.sons_diapo.last(), dossier.chemin("1.wav"));
    joueur->sortir->click();
    EXPECT_FALSE(joueur->isVisible());
}

TEST_F(Lecteur, EnAutomatiqueUnMouvementALaMainRepartDuDelaiComplet)
{
    reglages = {2, 1, 5};
    diaporama(3);
    lance();
    EXPECT_FALSE(joueur->pave->isVisible());
    EXPECT_TRUE(joueur->Timer1->isActive());
    EXPECT_EQ(joueur->Timer1->interval(), 5000);
    QTest::qWait(1000);
    touche(Qt::Key_Right);
    EXPECT_EQ(joueur->diapo_courante, 2);
    // Without the restart at most 4 s would be left.
    EXPECT_GT(joueur->Timer1->remainingTime(), 4500);
    joueur->Timer1Timer();
    joueur->Timer1Timer();
    EXPECT_EQ(joueur->diapo_courante, 1);
    touche(Qt::Key_Escape);
    EXPECT_FALSE(joueur->Timer1->isActive());

    // A delay out of range in a damaged settings file is held to 1..60 seconds.
    for (const auto &[stocke, intervalle] : {std::pair{0, 1000}, std::pair{-5, 1000}, std::pair{900, 60000}}) {
        reglages.delai = qint16(stocke);
        joueur->premiere_activation = true;
        joueur->show();
        QTest::qWait(20);
        EXPECT_EQ(joueur->Timer1->interval(), intervalle) << stocke;
        touche(Qt::Key_Right);
        EXPECT_EQ(joueur->Timer1->interval(), intervalle) << stocke;
        touche(Qt::Key_Escape);
    }
}

TEST_F(Lecteur, PSuspendEtRelanceLaMinuterieDuDefilementAutomatique)
{
    reglages = {2, 1, 5};
    diaporama(3);
    lance();
    touche(Qt::Key_P);
    EXPECT_FALSE(joueur->Timer1->isActive());
    touche(Qt::Key_Right);  // a move by hand keeps the pause
    EXPECT_EQ(joueur->diapo_courante, 2);
    EXPECT_FALSE(joueur->Timer1->isActive());
    touche(Qt::Key_P);
    EXPECT_TRUE(joueur->Timer1->isActive());
    EXPECT_GT(joueur->Timer1->remainingTime(), 4500);
}

TEST_F(Lecteur, EnAttendantLaFinDuSonUneDiapositiveSonoreResteJusquAuBoutDeSonSon)
{
    diaporama(2);
    ASSERT_TRUE(ecrit_fichier(dossier.chemin("1.wav"), son_wav(3000)));
    // The timer is coarse: it may fire up to 5 % early.
    struct Cas { bool attendre; qint64 au_plus_tot, avant; };
    for (const Cas &c : {Cas{true, 2850, 5000}, Cas{false, 950, 2850}}) {
        reglages = {2, 1, 1};
        reglages.attendre_fin_son = c.attendre;
        QElapsedTimer chrono;
        chrono.start();
        lance();
        EXPECT_TRUE(QTest::qWaitFor([&] { return joueur->diapo_courante == 2; }, int(c.avant)));
        EXPECT_GE(chrono.elapsed(), c.au_plus_tot) << c.attendre;
        EXPECT_LT(chrono.elapsed(), c.avant) << c.attendre;
        touche(Qt::Key_Escape);
    }
}

TEST_F(Lecteur, UneImageManquanteOuIllisibleArreteLeManuelSurUneBoiteEtLAutomatiqueLaMontreSurLaDiapositive)
{
    diaporama(3);
    lit_fiche(3);
    fiche.chemin_image.vide();
    ecrit_fiche(3);
    QFile illisible(dossier.chemin("illisible.bmp"));
    ASSERT_TRUE(illisible.open(QIODevice::WriteOnly));
    illisible.write("BM pas une image");
    illisible.close();
    const QString manquante = "\"" + dossier.chemin("2.bmp") + "\"\nCette photo n'existe plus";
    const QString endommagee = "\"" + dossier.chemin("illisible.bmp") + "\"\n";
    struct Cas { qint16 mode; bool efface; QString debut; };
    for (const Cas &c : {Cas{1, true, manquante}, Cas{1, false, endommagee}, Cas{2, true, manquante},
                         Cas{2, false, endommagee}}) {
        reglages = {c.mode, 1, 1};
        lit_fiche(2);
        fiche.chemin_image.affecte(dossier.chemin(c.efface ? "2.bmp" : "illisible.bmp"));
        ecrit_fiche(2);
        QFile::remove(dossier.chemin("2.bmp"));
        script.boites.clear();
        lance();
        touche(Qt::Key_Right);
        EXPECT_TRUE(joueur->diapositive->Picture().isEmpty());
        EXPECT_EQ(texte(), "Diapo 2");
        EXPECT_EQ(script.sons_diapo.last(), dossier.chemin("2.wav"));
        EXPECT_TRUE(joueur->isEnabled());
        const QLabel *message = joueur->message_image;
        if (c.mode == 1) {
            ASSERT_EQ(script.boites.size(), 1) << c.debut.toStdString();
            EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
            EXPECT_TRUE(script.boites[0].texte.startsWith(c.debut)) << script.boites[0].texte.toStdString();
            EXPECT_GT(script.boites[0].texte.size(), endommagee.size());
            EXPECT_FALSE(message->isVisible());
            continue;
        }
        // No box: the reason is on the slide for the slide's delay, then the show goes on by itself.
        EXPECT_TRUE(script.boites.isEmpty()) << script.textes_boites().join(" | ").toStdString();
        EXPECT_TRUE(message->isVisible());
        EXPECT_TRUE(message->text().startsWith(c.debut)) << message->text().toStdString();
        EXPECT_GT(message->text().size(), endommagee.size());
        QElapsedTimer chrono;
        chrono.start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return joueur->diapo_courante == 3; }, 3000));
        EXPECT_GE(chrono.elapsed(), 900);
        EXPECT_FALSE(message->isVisible());  // an empty path: black, no message
        EXPECT_TRUE(script.boites.isEmpty());
        touche(Qt::Key_Escape);
    }
}

TEST_F(Lecteur, LaLegendeSuitLaDiapositiveOuLaFiche0PourToutes)
{
    diaporama(2);
    lit_fiche(1);
    fiche.position_texte = 1;
    fiche.fond_transparent = 0;
    fiche.couleur_fond = 0x0000FF;  // red
    fiche.couleur_texte = 0xFFFFFF;
    fiche.taille_texte = 30;
    fiche.style_texte = 2;
    ecrit_fiche(1);
    lit_fiche(2);
    fiche.position_texte = 2;
    fiche.fond_transparent = 1;
    fiche.couleur_texte = 0x00FFFF;  // yellow
    ecrit_fiche(2);
    lance();
    capture_ecran(joueur.get(), "diaporama_haut_bande");
    EXPECT_EQ(legende()->y(), 0);
    EXPECT_TRUE(legende()->autoFillBackground());
    EXPECT_EQ(legende()->palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_TRUE(joueur->diapositive->font().bold());
    EXPECT_EQ(joueur->diapositive->font().pointSize(), 30);
    const QImage vue = joueur->grab().toImage();
    EXPECT_EQ(vue.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(vue.pixelColor(2, 300), QColor(Qt::black));
    touche(Qt::Key_Right);
    capture_ecran(joueur.get(), "diaporama_bas_transparent");
    EXPECT_EQ(legende()->geometry().bottom(), joueur->height() - 1);
    EXPECT_FALSE(legende()->autoFillBackground());
    EXPECT_EQ(joueur->diapositive->FontColor(), QColor(Qt::yellow));
    touche(Qt::Key_Escape);

    // Record 0 for every slide, the slide records untouched.
    lit_fiche(0);
    fiche.toutes_diapos = 1;
    fiche.position_texte = 2;
    fiche.fond_transparent = 1;
    fiche.couleur_texte = 0x00FF00;
    ecrit_fiche(0);
    lit_fiche(1);
    const FicheDiapo avant = fiche;
    joueur->premiere_activation = true;
    joueur->show();
    QTest::qWait(20);
    EXPECT_EQ(legende()->geometry().bottom(), joueur->height() - 1);
    EXPECT_EQ(joueur->diapositive->FontColor(), QColor(Qt::green));
    lit_fiche(1);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(&fiche), sizeof fiche),
              QByteArray(reinterpret_cast<const char *>(&avant), sizeof avant));
}

TEST_F(Lecteur, LePaveEnBasADroiteSeDeplaceEtRevientAuSpectacleSuivant)
{
    reglages = {1, 2, 5};
    diaporama(2);
    lance();
    ASSERT_TRUE(joueur->pave->isVisible());
    capture_ecran(joueur.get(), "diaporama_pave");
    EXPECT_EQ(joueur->pave->pos(), QPoint(joueur->width() - 120, joueur->height() - 40));
    QTest::mousePress(joueur->pave, Qt::LeftButton, {}, QPoint(2, 2));
    QMouseEvent bouge(QEvent::MouseMove, QPointF(2, 2), joueur->mapToGlobal(QPointF(300, 200)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(joueur->pave, &bouge);
    EXPECT_EQ(joueur->pave->pos(), QPoint(300, 200));
    QMouseEvent lache(QEvent::MouseButtonRelease, QPointF(2, 2), joueur->mapToGlobal(QPointF(310, 210)),
                      Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(joueur->pave, &lache);
    EXPECT_EQ(joueur->pave->pos(), QPoint(310, 210));
    joueur->sortir->click();
    joueur->premiere_activation = true;
    joueur->show();
    QTest::qWait(20);
    EXPECT_EQ(joueur->pave->pos(), QPoint(joueur->width() - 120, joueur->height() - 40));

    // Mouse buttons: no pad.
    joueur->sortir->click();
    reglages = {1, 1, 5};
    joueur->premiere_activation = true;
    joueur->show();
    QTest::qWait(20);
    EXPECT_FALSE(joueur->pave->isVisible());
}

// Runs a second time on a screen of two device pixels to the point (Presentation.EcranHauteDensite).
TEST_F(Lecteur, UneGrandePhotoEntiereUnePetiteASaTailleEnPixelsDeLEcran)
{
    diaporama(3);
    // 4000 x 3000 in grey with a square of its own colour in each corner; 640 x 480 in red.
    const QColor coins[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QImage grande(4000, 3000, QImage::Format_RGB32);
    grande.fill(Qt::gray);
    {
        QPainter p(&grande);
        for (int k = 0; k < 4; ++k)
            p.fillRect(k % 2 * 3400, k / 2 * 2400, 600, 600, coins[k]);
    }
    BitmapObject jpeg{grande};
    ASSERT_TRUE(WriteJpegFile(dossier.chemin("2.jpg"), 90, 0, 24, jpeg));
    QImage petite(640, 480, QImage::Format_RGB32);
    petite.fill(Qt::red);
    ASSERT_TRUE(petite.save(dossier.chemin("3.bmp"), "BMP"));
    for (int k : {2, 3}) {
        lit_fiche(k);
        fiche.chemin_image.affecte(dossier.chemin(k == 2 ? "2.jpg" : "3.bmp"));
        fiche.commentaire.vide();
        ecrit_fiche(k);
    }
    lance();
    const qreal ratio = joueur->devicePixelRatioF();
    if (qgetenv("QT_SCALE_FACTOR") == "2") {
        ASSERT_EQ(ratio, 2.0);
    }
    const QSize ecran = joueur->size() * ratio;
    const auto proche = [](QColor a, QColor b) {
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 40;
    };
    // Read ahead and read the ordinary way (a file changed since) alike.
    for (bool relue : {false, true}) {
        touche(Qt::Key_Home);
        QTest::qWait(300);
        if (relue) {
            ASSERT_TRUE(WriteJpegFile(dossier.chemin("2.jpg"), 90, 0, 24, jpeg));
        }
        touche(Qt::Key_Right);
        capture_ecran(joueur.get(), "diaporama_grande_photo");
        const QImage vue = joueur->grab().toImage();
        ASSERT_EQ(vue.size(), ecran);
        const QSize entiere = QSize(4000, 3000).scaled(ecran, Qt::KeepAspectRatio);
        const QRect cadre(QPoint((ecran.width() - entiere.width()) / 2, (ecran.height() - entiere.height()) / 2),
                          entiere);
        const int retrait = entiere.width() * 300 / 4000;  // the middle of a corner square
        const QPoint milieux[] = {cadre.topLeft() + QPoint(retrait, retrait),
                                  cadre.topRight() + QPoint(-retrait, retrait),
                                  cadre.bottomLeft() + QPoint(retrait, -retrait),
                                  cadre.bottomRight() + QPoint(-retrait, -retrait)};
        for (int k = 0; k < 4; ++k)
            EXPECT_TRUE(proche(vue.pixelColor(milieux[k]), coins[k]))
                << relue << " " << k << ": " << vue.pixelColor(milieux[k]).name().toStdString();
        EXPECT_TRUE(proche(vue.pixelColor(ecran.width() / 2, ecran.height() / 2), Qt::gray));
    }

    touche(Qt::Key_Right);
    const QImage vue = joueur->grab().toImage();
    int rouges = 0;
    for (int y = 0; y < vue.height(); ++y)
        for (int x = 0; x < vue.width(); ++x)
            rouges += vue.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_EQ(rouges, 640 * 480);
    EXPECT_EQ(vue.pixel((ecran.width() - 640) / 2, (ecran.height() - 480) / 2), qRgb(255, 0, 0));
}

TEST_F(Lecteur, UneImageChangeeSurLeDisqueEstRelue)
{
    diaporama(2);
    lance();
    // The next picture read ahead, before it changes on the disc.
    ASSERT_TRUE(joueur->lecture_anticipee().attend_lectures().contains(dossier.chemin("2.bmp")));
    QImage autre(200, 100, QImage::Format_RGB32);
    autre.fill(Qt::white);
    QTest::qWait(20);
    ASSERT_TRUE(autre.save(dossier.chemin("2.bmp"), "BMP"));
    touche(Qt::Key_Right);
    EXPECT_EQ(joueur->diapositive->Picture().image().pixelColor(5, 5), QColor(Qt::white));
}

// Under dbus-run-session, on a bus of its own (tests/CMakeLists.txt): never on the user's.
TEST_F(Lecteur, LeBureauLePiloteParLeBusDeSessionPendantLaPresentation)
{
    if (qEnvironmentVariableIsEmpty("VISTA_BUS_PRIVE"))
        GTEST_SKIP() << "needs a private session bus";
    const QString commun = QStringLiteral("org.mpris.MediaPlayer2.vistarama");
    QString nom;
    // Sent as a desktop shell sends it; the answer printed.
    const auto envoie = [&](const QStringList &message) {
        QProcess envoi;
        envoi.start("dbus-send", QStringList{"--session", "--print-reply", "--dest=" + nom, "/org/mpris/MediaPlayer2"} +
                                     message);
        EXPECT_TRUE(QTest::qWaitFor([&] { return envoi.state() == QProcess::NotRunning; }, 5000));
        EXPECT_EQ(envoi.exitCode(), 0) << envoi.readAllStandardError().toStdString();
        return QString::fromUtf8(envoi.readAllStandardOutput());
    };
    const auto propriete = [&](const char *nom_propriete) {
        return envoie({"org.freedesktop.DBus.Properties.Get", "string:org.mpris.MediaPlayer2.Player",
                       QStringLiteral("string:") + nom_propriete});
    };
    reglages = {2, 1, 5};
    diaporama(3);
    // The second time another program holds the common name: the show takes one of its own.
    QDBusConnection autre = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "autre");
    for (const bool pris : {false, true}) {
        ASSERT_TRUE(!pris || autre.registerService(commun));
        nom = pris ? commun + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid()) : commun;
        // What the desktop hears of the changes.
        QProcess ecoute;
        ecoute.start("dbus-monitor", {"--session", "type='signal',member='PropertiesChanged'"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return ecoute.readAllStandardOutput().contains("NameAcquired"); }, 5000));
        lance();
        ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(nom)) << pris;
        envoie({"org.mpris.MediaPlayer2.Player.Next"});
        EXPECT_EQ(joueur->diapo_courante, 2);
        const QString metadonnees = propriete("Metadata");
        for (const QString &attendu : {QStringLiteral("/vistarama/diapositive/2"), QStringLiteral("\"Diapo 2\""),
                                       QUrl::fromLocalFile(dossier.chemin("2.bmp")).toString()})
            EXPECT_TRUE(metadonnees.contains(attendu)) << attendu.toStdString() << " in " << metadonnees.toStdString();
        envoie({"org.mpris.MediaPlayer2.Player.PlayPause"});
        EXPECT_FALSE(joueur->Timer1->isActive());
        EXPECT_TRUE(propriete("PlaybackStatus").contains("\"Paused\""));
        envoie({"org.mpris.MediaPlayer2.Player.PlayPause"});
        EXPECT_TRUE(joueur->Timer1->isActive());
        envoie({"org.mpris.MediaPlayer2.Player.Stop"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return !joueur->isVisible(); }, 2000));
        EXPECT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(nom));
        QString entendu;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            entendu += QString::fromUtf8(ecoute.readAllStandardOutput());
            return entendu.contains("\"Playing\"");
        }, 5000));
        EXPECT_TRUE(entendu.contains("\"/vistarama/diapositive/2\"") && entendu.contains("\"Paused\""))
            << entendu.toStdString();
        ecoute.kill();
        ecoute.waitForFinished();
    }
    QDBusConnection::disconnectFromBus("autre");
}

}  // namespace
