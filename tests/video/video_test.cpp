#include "Fexport_video.h"
#include "Moteur.h"
#include "commande_video.h"
#include "chronologie.h"
#include "config_sli.h"
#include "diaporama.h"
#include "ecran.h"
#include "export_video.h"
#include "fichier_sli.h"
#include "script_systeme.h"
#include "son_wav.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(Chronologie, ChaqueDiapoAsonDelaiEtChaqueSonJusquAuSuivant)
{
    struct Cas {
        const char *nom;
        QList<double> sons;
        bool attendre;
        QList<double> debuts;
        QList<SonPlace> places;
    };
    const Cas cas[] = {
        {"sans son", {-1, -1}, false, {0, 2}, {}},
        {"un son continue sur la diapo muette", {5, -1, -1}, false, {0, 2, 4}, {{0, 0, 5}}},
        {"le son suivant coupe le précédent", {5, 1, -1}, false, {0, 2, 4}, {{0, 0, 2}, {1, 2, 3}}},
        {"la fin du spectacle coupe le son", {-1, 9}, false, {0, 2}, {{1, 2, 4}}},
        {"attendre : le plus long du délai et du son", {3, 1, -1}, true, {0, 3, 5}, {{0, 0, 3}, {1, 3, 4}}},
    };
    for (const Cas &c : cas) {
        const Chronologie t = chronologie(c.sons, 2, c.attendre);
        QList<double> debuts;
        for (const DiapoMinutee &d : t.diapos)
            debuts << d.debut;
        EXPECT_EQ(debuts, c.debuts) << c.nom;
        EXPECT_EQ(t.duree, t.diapos.last().debut + t.diapos.last().duree) << c.nom;
        ASSERT_EQ(t.sons.size(), c.places.size()) << c.nom;
        for (int i = 0; i < t.sons.size(); ++i) {
            EXPECT_EQ(t.sons[i].diapo, c.places[i].diapo) << c.nom;
            EXPECT_EQ(t.sons[i].debut, c.places[i].debut) << c.nom;
            EXPECT_EQ(t.sons[i].fin, c.places[i].fin) << c.nom;
        }
    }
}

// A PCM wave file of `secondes` of a loud tone, 44100 bytes a second, whatever
// byte rate its header states (-1: the real one).
void ecrit_son(const QString &chemin, double secondes, qint64 debit_annonce = -1)
{
    ASSERT_TRUE(ecrit_fichier(chemin, son_wav(int(secondes * 1000), {440, 22050, 1, 16}, -1, debit_annonce)));
}

double psnr(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 0;
    double somme = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                somme += d * d;
        }
    const double mse = somme / (3.0 * x.width() * x.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

QString lance(const QString &programme, const QStringList &arguments, QByteArray *sortie = nullptr)
{
    QProcess p;
    p.start(programme, arguments);
    p.waitForFinished(60000);
    if (sortie)
        *sortie = p.readAllStandardOutput();
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

class Video : public ::testing::Test {
protected:
    void SetUp() override { reglages = {1, 1, 2}; }
    void TearDown() override
    {
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
    }

    // Three slides: a picture with a caption on a red strip at the top, a picture
    // with a one-second sound, a picture with a caption at the bottom.
    void diaporama(bool premiere_absente = false)
    {
        ouvre_fichier_sli(dossier.chemin("essai.sli"));
        for (int k = 1; k <= 3; ++k) {
            const QString image = dossier.chemin(QStringLiteral("%1.png").arg(k));
            QImage dessin(400, 300, QImage::Format_RGB32);
            QPainter p(&dessin);
            p.fillRect(dessin.rect(), QLinearGradient(0, 0, 400, 300));
            QLinearGradient degrade(0, 0, 400, 300);
            degrade.setColorAt(0, QColor::fromHsv(k * 100 % 360, 255, 255));
            degrade.setColorAt(1, Qt::darkBlue);
            p.fillRect(dessin.rect(), degrade);
            p.fillRect(100, 100, 120, 60, Qt::yellow);
            p.end();
            if (!(premiere_absente && k == 1))
                dessin.save(image, "PNG");
            ajoute_fiche();
            fiche.chemin_image.affecte(image);
            if (k != 2)
                fiche.commentaire.affecte(QStringLiteral("Légende de la diapositive %1").arg(k));
            fiche.position_texte = k == 1 ? 1 : 0;
            fiche.fond_transparent = k == 1 ? 0 : 1;
            fiche.couleur_fond = 0x0000FF;  // red, as Windows stores it
            fiche.couleur_texte = 0xFFFFFF;
            if (k == 2) {
                ecrit_son(dossier.chemin("2.wav"), 1.0);
                fiche.chemin_son.affecte(dossier.chemin("2.wav"));
            }
            ecrit_fiche(k);
        }
    }

    // What the player shows of slide 1 in `mode`, on the test's screen.
    QImage vue_du_lecteur(qint16 mode)
    {
        reglages = {mode, 1, 2};
        Tlance_diaporama joueur;
        joueur.premiere_activation = true;
        joueur.show();
        QTest::qWait(50);
        // Drawn again in a small window: small frames keep the test short.
        joueur.setWindowState(Qt::WindowNoState);
        joueur.resize(taille);
        joueur.affiche_diapositive();
        EXPECT_EQ(joueur.size(), taille);
        return joueur.grab().toImage();
    }

    IssueExport exporte(const QString &nom, const std::function<bool(int, int)> &avance = {},
                        bool attendre_fin_son = false)
    {
        ReglagesExport r;
        r.taille = taille;
        r.delai = 2;
        r.attendre_fin_son = attendre_fin_son;
        r.police_echec = QApplication::font();
        return exporte_video(copie_fiche(0), diapos_du_diaporama(), dossier.chemin(nom), r, avance);
    }

    QImage image_a(const QString &video, double t)
    {
        const QString png = dossier.chemin("extrait.png");
        QFile::remove(png);
        lance("ffmpeg", {"-v", "error", "-ss", QString::number(t), "-i", video, "-frames:v", "1", png});
        return QImage(png);
    }

    double duree(const QString &nom)
    {
        return lance("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0",
                                 dossier.chemin(nom)}).toDouble();
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    QSize taille{320, 240};
};

TEST_F(Video, UnMp4EnH264EtAacDeSixSecondesQuiMontreLaDiapoCommeLeLecteur)
{
    diaporama();
    const QImage lecteur = vue_du_lecteur(1);
    const IssueExport issue = exporte("essai.mp4");
    ASSERT_TRUE(issue.reussie()) << issue.erreur.toStdString();
    EXPECT_TRUE(issue.absentes.isEmpty());
    const QString video = dossier.chemin("essai.mp4");
    const QString sonde = lance("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name:format=duration",
                                            "-of", "default=nw=1", video});
    EXPECT_TRUE(sonde.contains("codec_name=h264")) << sonde.toStdString();
    EXPECT_TRUE(sonde.contains("codec_name=aac")) << sonde.toStdString();
    const double duree = sonde.section("duration=", 1).trimmed().toDouble();
    EXPECT_NEAR(duree, 6.0, 1.0 / 25) << sonde.toStdString();

    EXPECT_GE(psnr(image_a(video, 1), lecteur), 30);

    // Silent until the sound slide comes up at 2 s, then the tone.
    QByteArray pcm;
    lance("ffmpeg", {"-v", "error", "-i", video, "-f", "s16le", "-ac", "1", "-ar", "8000", "-"}, &pcm);
    const auto *e = reinterpret_cast<const qint16 *>(pcm.constData());
    const auto crete = [&](double de, double a) {
        int m = 0;
        for (qsizetype i = qsizetype(de * 8000); i < qsizetype(a * 8000) && i < pcm.size() / 2; ++i)
            m = std::max(m, std::abs(int(e[i])));
        return m;
    };
    EXPECT_LT(crete(0, 1.95), 50);
    EXPECT_GT(crete(2.05, 2.9), 8000);
    EXPECT_LT(crete(3.1, 6), 50);
}

// The sound slide's three seconds outlast its two-second delay. It waits as the
// player does, for the length the file's header gives: a header stating twice the
// byte rate makes it a second and a half, within the delay.
TEST_F(Video, AttendreLaFinDuSonAllongeLaDiapoSonore)
{
    diaporama();
    struct Cas { qint64 debit_annonce; double duree; };
    for (const Cas c : {Cas{-1, 7.0}, Cas{2 * 44100, 6.0}}) {
        ecrit_son(dossier.chemin("2.wav"), 3.0, c.debit_annonce);
        ASSERT_TRUE(exporte("attendre.mp4", {}, true).reussie());
        EXPECT_NEAR(duree("attendre.mp4"), c.duree, 1.0 / 25) << c.debit_annonce;
    }
}

TEST_F(Video, UnNomEnWebmDonneVp9EtOpus)
{
    diaporama();
    ASSERT_TRUE(exporte("essai.webm").reussie());
    const QString sonde = lance("ffprobe", {"-v", "error", "-show_entries", "stream=codec_name", "-of",
                                            "default=nw=1", dossier.chemin("essai.webm")});
    EXPECT_EQ(sonde.split('\n', Qt::SkipEmptyParts), QStringList({"codec_name=vp9", "codec_name=opus"}));
}

TEST_F(Video, UneExportationArreteeAMiCheminNeLaisseAucunFichier)
{
    diaporama();
    const QStringList avant = QDir(dossier.chemin()).entryList(QDir::Files | QDir::Hidden);
    int vues = 0;
    const IssueExport issue = exporte("essai.mp4", [&](int faites, int total) {
        vues = faites;
        return faites < total / 2;
    });
    EXPECT_TRUE(issue.arretee);
    EXPECT_GE(vues, 75);
    EXPECT_EQ(QDir(dossier.chemin()).entryList(QDir::Files | QDir::Hidden), avant);
}

TEST_F(Video, UnePhotoAbsenteEstSignaleeEtSaDiapoEstNoireAvecSaLegende)
{
    diaporama(true);
    const QImage lecteur = vue_du_lecteur(2);
    const IssueExport issue = exporte("essai.mp4");
    ASSERT_TRUE(issue.reussie()) << issue.erreur.toStdString();
    ASSERT_EQ(issue.absentes.size(), 1);
    EXPECT_TRUE(issue.absentes[0].contains(dossier.chemin("1.png"))) << issue.absentes[0].toStdString();
    const QImage image = image_a(dossier.chemin("essai.mp4"), 1);
    EXPECT_GE(psnr(image, lecteur), 30);
    // Black where neither the caption's strip nor the reason is written.
    EXPECT_LT(qGray(image.pixel(10, image.height() / 2)), 20);
}

// The main window's export: the name asked, ".mp4" added, the missing picture in the final box.
TEST_F(Video, LaFenetreEcritLaVideoEtNommeLaPhotoAbsente)
{
    diaporama(true);
    ferme_fichier_sli();
    ASSERT_TRUE(Diaporama::courant().ouvre(dossier.chemin("essai.sli")));
    script.fichiers.push_back(dossier.chemin("fenetre"));
    TExportVideo::exporte(nullptr, false);
    Diaporama::courant().oublie();
    EXPECT_TRUE(QFileInfo(dossier.chemin("fenetre.mp4")).size() > 0);
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Avertissement);
    EXPECT_TRUE(script.boites[0].texte.contains(dossier.chemin("1.png"))) << script.boites[0].texte.toStdString();
}

TEST_F(Video, AnnulerDansLaFenetreNeLaisseNiFichierNiBoite)
{
    diaporama();
    ferme_fichier_sli();
    ASSERT_TRUE(Diaporama::courant().ouvre(dossier.chemin("essai.sli")));
    script.fichiers.push_back(dossier.chemin("fenetre.mp4"));
    bool vue = false;
    QTimer::singleShot(0, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *f = qobject_cast<TExportVideo *>(w); f && f->isVisible()) {
                vue = true;
                f->annuler->click();
            }
    });
    TExportVideo::exporte(nullptr, false);
    Diaporama::courant().oublie();
    EXPECT_TRUE(vue);
    EXPECT_FALSE(QFileInfo::exists(dossier.chemin("fenetre.mp4")));
    EXPECT_TRUE(script.boites.isEmpty()) << script.textes_boites().join(" | ").toStdString();
}

// A scrolling message moves from frame to frame, as on screen.
TEST_F(Video, UnMessageDefilantDefileDansLaVideo)
{
    QFile message(dossier.chemin("defile.scm"));
    ASSERT_TRUE(message.open(QIODevice::WriteOnly));
    message.write("/sp|0/sm|Bonjour tout le monde/eo|");
    message.close();
    ouvre_fichier_sli(dossier.chemin("essai.sli"));
    ajoute_fiche();
    fiche.chemin_image.affecte(dossier.chemin("defile.scm"));
    ecrit_fiche(1);
    ASSERT_TRUE(exporte("defile.mp4").reussie());
    const QImage avant = image_a(dossier.chemin("defile.mp4"), 0.4), apres = image_a(dossier.chemin("defile.mp4"), 1.4);
    // Where the text (bright red on the message's dark red) starts, from the left.
    const auto debut_du_texte = [](const QImage &image) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qRed(image.pixel(x, y)) > 200)
                    return x;
        return -1;
    };
    ASSERT_GT(debut_du_texte(avant), 0);
    EXPECT_LT(debut_du_texte(apres), debut_du_texte(avant) - 50);
}

TEST_F(Video, UnMessageDefilantEndommageEstSignaleEtLExportationContinue)
{
    QFile message(dossier.chemin("abime.scm"));
    ASSERT_TRUE(message.open(QIODevice::WriteOnly));
    message.write("/sp|vite/sm|Bonjour/eo|");
    message.close();
    ouvre_fichier_sli(dossier.chemin("essai.sli"));
    ajoute_fiche();
    fiche.chemin_image.affecte(dossier.chemin("abime.scm"));
    ecrit_fiche(1);
    const IssueExport issue = exporte("abime.mp4");
    EXPECT_TRUE(issue.reussie()) << issue.erreur.toStdString();
    ASSERT_EQ(issue.absentes.size(), 1);
    EXPECT_TRUE(issue.absentes[0].contains("abime.scm"));
}

TEST(CommandeVideo, LesErreursDUsageSortentEnDeuxEtLaVideoEnZero)
{
    DossierTemporaire dossier;
    ouvre_fichier_sli(dossier.chemin("un.sli"));
    ajoute_fiche();
    ferme_fichier_sli();
    struct Cas { QStringList arguments; int code; const char *message; };
    const Cas cas[] = {
        {{"un.sli"}, 2, "il faut un diaporama et un fichier de sortie"},
        {{"un.sli", "v.avi"}, 2, "doit finir en .mp4 ou .webm"},
        {{"un.sli", "v.mp4", "--taille", "321x240"}, 2, "taille invalide"},
        {{"un.sli", "v.mp4", "--images-par-seconde", "0"}, 2, "images par seconde invalide"},
        {{"un.sli", "v.mp4", "--vite"}, 2, "option inconnue"},
        {{"absent.sli", "v.mp4"}, 1, "diaporama introuvable"},
        {{"un.sli", "v.mp4", "--taille", "64x48", "--images-par-seconde", "5", "--attendre-fin-son"}, 0, ""},
    };
    for (const Cas &c : cas) {
        QString sortie, erreurs;
        QTextStream out(&sortie), err(&erreurs);
        EXPECT_EQ(lance_commande_video(c.arguments, out, err), c.code) << erreurs.toStdString();
        EXPECT_TRUE(erreurs.contains(QString::fromUtf8(c.message))) << erreurs.toStdString();
    }
    EXPECT_TRUE(QFileInfo(dossier.chemin("v.mp4")).size() > 0);
}

}  // namespace
