#include "application.h"
#include "ecran.h"
#include "erreurs.h"
#include "Fopen.h"
#include "fichier_sli.h"
#include "main.h"
#include "script_systeme.h"

#include <QAction>
#include <QDir>
#include <QLockFile>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Edition : public ::testing::Test {
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
    }

    // Opens a slideshow of `n` slides whose pictures are named "1.jpg", "2.jpg", ...
    void ouvre(int n)
    {
        chemin = dossier.chemin(QStringLiteral("d.sli"));
        QFile::remove(chemin);
        ouvre_fichier_sli(chemin);
        for (int k = 1; k <= n; ++k) {
            ajoute_fiche();
            fiche.chemin_image.affecte(QStringLiteral("%1.jpg").arg(k));
            ecrit_fiche(k);
        }
        ferme_fichier_sli();
        forme->ouvre_diaporama(chemin);
    }

    // The slides' picture names in file order, as "2 3 1 4 5".
    QString ordre() const
    {
        QStringList noms;
        for (int k = 1; k < nombre_fiches(); ++k) {
            lit_fiche(k);
            noms << fiche.chemin_image.valeur().section(QLatin1Char('.'), 0, 0);
        }
        lit_fiche(forme->diapo_courante());
        return noms.join(QLatin1Char(' '));
    }

    void depose(int depuis, int sur)
    {
        forme->Liste->setCurrentRow(depuis - 1);
        forme->ListeDragOver();
        forme->ListeDragDrop(QPoint(5, (sur - 1) * 16 + 8));
    }

    QStringList textes(systeme::TypeBoite type) const
    {
        QStringList t;
        for (const systeme::Boite &b : script.boites)
            if (b.type == type)
                t << b.texte;
        return t;
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    std::unique_ptr<TForm1> forme;
    QString chemin;
};

TEST_F(Edition, GlisserUneDiapositiveLaPlaceSurLaCibleOuALaFin)
{
    const struct {
        int depuis, sur;
        const char *ordre;
    } cas[] = {{1, 3, "2 3 1 4 5"}, {1, 4, "2 3 4 5 1"}, {1, 5, "2 3 4 5 1"}, {5, 2, "1 5 2 3 4"}};
    for (const auto &c : cas) {
        ouvre(5);
        depose(c.depuis, c.sur);
        EXPECT_EQ(ordre(), QString::fromLatin1(c.ordre)) << c.depuis << " sur " << c.sur;
        EXPECT_EQ(forme->Liste->count(), 5);
        EXPECT_EQ(forme->Liste->currentRow(), forme->diapo_courante() - 1);
        forme->fermer_diaporama();
    }
}

TEST_F(Edition, UnDepotSansSurvolNeFaitRien)
{
    ouvre(5);
    forme->Liste->setCurrentRow(0);
    forme->ListeDragDrop(QPoint(5, 40));
    EXPECT_EQ(ordre(), QStringLiteral("1 2 3 4 5"));
}

TEST_F(Edition, UnEchecDEcritureAuMilieuDUnDeplacementLaisseLeFichierIntact)
{
    ouvre(5);
    forme->Liste->setCurrentRow(0);
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray avant = f.readAll();
    f.close();

    // Files may not grow past half the slideshow: the copy fails part-way through.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit ancienne{};
    getrlimit(RLIMIT_FSIZE, &ancienne);
    rlimit limite = ancienne;
    limite.rlim_cur = rlim_t(avant.size() / 2);
    setrlimit(RLIMIT_FSIZE, &limite);
    forme->ListeDragOver();
    const bool reussi = erreurs::sous_garde([&] { forme->ListeDragDrop(QPoint(5, 40)); });
    setrlimit(RLIMIT_FSIZE, &ancienne);

    EXPECT_FALSE(reussi);
    EXPECT_EQ(script.textes_boites().last(), QStringLiteral("Disque plein"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), avant);
    EXPECT_EQ(QDir(dossier.chemin()).entryList(QDir::Files), QStringList{"d.sli"});
    EXPECT_EQ(ordre(), QStringLiteral("1 2 3 4 5"));
}

TEST_F(Edition, AjouterInsererEtSupprimerGardentLaListeEtLeFichierDAccord)
{
    ouvre(0);
    forme->ajouterClick();
    EXPECT_EQ(forme->diapo_courante(), 1);
    EXPECT_EQ(forme->Liste->count(), 1);
    EXPECT_EQ(forme->Liste->item(0)->text(), QStringLiteral("Diapositive n°1 - Pas de photo"));
    EXPECT_TRUE(forme->inserer->isEnabled());
    forme->fermer_diaporama();

    ouvre(3);
    forme->Liste->setCurrentRow(1);
    forme->insererClick();
    EXPECT_EQ(ordre(), QStringLiteral("1  2 3"));  // the new empty slide 2 on display
    EXPECT_EQ(forme->diapo_courante(), 2);
    EXPECT_EQ(forme->Liste->item(1)->text(), QStringLiteral("Diapositive n°2 - Pas de photo"));

    forme->derniereClick();
    forme->supprime_diapo_courante();  // slide 4 of 4: slide 3 comes on display
    EXPECT_EQ(forme->diapo_courante(), 3);
    EXPECT_EQ(ordre(), QStringLiteral("1  2"));
    forme->fermer_diaporama();

    ouvre(1);
    forme->supprime_diapo_courante();
    EXPECT_EQ(forme->diapo_courante(), -1);
    EXPECT_EQ(forme->Liste->count(), 0);
    EXPECT_FALSE(forme->inserer->isEnabled());
    EXPECT_FALSE(forme->suivante->isEnabled());
    EXPECT_TRUE(forme->ajouter->isEnabled());
}

TEST_F(Edition, LesChangementsDuTamponAtteignentLeFichierAuProchainSauve)
{
    ouvre(2);
    forme->texte->setText(QStringLiteral("Coucher de soleil"));
    script.fichiers.push_back(dossier.chemin(QStringLiteral("mer.wav")));
    forme->sonClick();
    EXPECT_EQ(forme->son->text(), dossier.chemin(QStringLiteral("mer.wav")));
    forme->suivanteClick();
    forme->texte->setText(QStringLiteral("Deuxième"));
    forme->fermer_diaporama();

    ouvre_fichier_sli(chemin);
    lit_fiche(1);
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("Coucher de soleil"));
    EXPECT_EQ(fiche.chemin_son.valeur(), dossier.chemin(QStringLiteral("mer.wav")));
    lit_fiche(2);
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("Deuxième"));
}

TEST_F(Edition, LesBoutonsAuxBoutsDuDiaporamaLeDisentEtNeBougentPas)
{
    ouvre(2);
    forme->precedanteClick();
    forme->derniereClick();
    forme->suivanteClick();
    EXPECT_EQ(textes(systeme::TypeBoite::Information),
              (QStringList{"Première diapositive", "Dernière diapositive"}));
    EXPECT_EQ(forme->diapo_courante(), 2);
    forme->premiereClick();
    EXPECT_EQ(forme->diapo_courante(), 1);
    EXPECT_EQ(forme->Liste->currentRow(), 0);
}

TEST_F(Edition, LesQuestionsDEffacementNAgissentQueSurOK)
{
    ouvre(1);
    forme->texte->setText(QStringLiteral("texte"));
    fiche.chemin_son.affecte(QStringLiteral("a.wav"));
    script.reponses = {systeme::Annuler, systeme::Annuler, systeme::Annuler, systeme::OK, systeme::OK};
    forme->efface_texteClick();
    forme->efface_sonClick();
    forme->photo_supprimeClick();
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("texte"));
    EXPECT_EQ(fiche.chemin_image.valeur(), QStringLiteral("1.jpg"));
    forme->efface_texteClick();
    forme->efface_sonClick();
    EXPECT_TRUE(fiche.commentaire.est_vide());
    EXPECT_TRUE(fiche.chemin_son.est_vide());
    EXPECT_EQ(textes(systeme::TypeBoite::Confirmation).mid(0, 3),
              (QStringList{"Désirez-vous affacer ce texte", "Désirez-vous affacer ce son",
                           "Désirez-vous affacer cette image"}));
}

TEST_F(Edition, UnCheminTropLongEstGardeRelatifAuDiaporamaOuRefuse)
{
    ouvre(1);
    const QString sous_dossier = dossier.chemin(QString(70, QLatin1Char('s')));
    const QString long_mais_proche = sous_dossier + QStringLiteral("/mer.wav");
    script.fichiers = {long_mais_proche, QStringLiteral("/") + QString(90, QLatin1Char('x')) + ".wav"};
    forme->sonClick();
    EXPECT_EQ(fiche.chemin_son.valeur(), QString(70, QLatin1Char('s')) + QStringLiteral("/mer.wav"));
    QDir().mkpath(sous_dossier);
    QFile(long_mais_proche).open(QIODevice::WriteOnly);
    EXPECT_EQ(chemin_de_fiche(fiche.chemin_son.valeur()), long_mais_proche);

    forme->sonClick();
    EXPECT_EQ(fiche.chemin_son.valeur(), QString(70, QLatin1Char('s')) + QStringLiteral("/mer.wav"));
    EXPECT_TRUE(script.textes_boites().last().contains(QStringLiteral("ne peut pas être enregistré")));
}

TEST_F(Edition, LImageChoisieDansLeNavigateurDevientCelleDeLaDiapositive)
{
    ouvre(1);
    const QString choisie = dossier.chemin(QStringLiteral("NOUVELLE.JPG"));
    script.dialogues.push_back([&](QDialog &d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Sélectionnez une image"));
        static_cast<Touvre_image &>(d).fichier_image = choisie;
        return int(QDialog::Accepted);
    });
    script.dialogues.push_back([](QDialog &) { return int(QDialog::Rejected); });
    forme->photo_fileClick();
    forme->photo_fileClick();  // cancelled: nothing changes
    lit_fiche(1);
    EXPECT_EQ(fiche.chemin_image.valeur(), choisie);
    EXPECT_EQ(forme->Liste->item(0)->text(), QStringLiteral("Diapositive n°1 - NOUVELLE.JPG"));
}

TEST_F(Edition, LesTouchesDeLaFenetreFontCeQueFontSesCommandes)
{
    const struct {
        const char *nom;
        QKeySequence touche;
        std::deque<int> reponses;
        const char *ordre;  // after the key, slide 2 of 1..4 on display
        int affichee;
    } cas[] = {
        {"Ctrl+Haut", QKeySequence(Qt::CTRL | Qt::Key_Up), {}, "2 1 3 4", 1},
        {"Ctrl+Bas", QKeySequence(Qt::CTRL | Qt::Key_Down), {}, "1 3 2 4", 3},
        {"Suppr confirmé", QKeySequence(Qt::Key_Delete), {systeme::OK}, "1 3 4", 2},
        {"Suppr annulé", QKeySequence(Qt::Key_Delete), {systeme::Annuler}, "1 2 3 4", 2},
    };
    forme->show();
    for (const auto &c : cas) {
        SCOPED_TRACE(c.nom);
        ouvre(4);
        forme->Liste->setCurrentRow(1);
        script.reponses = c.reponses;
        for (QAction *a : forme->actions())
            if (a->shortcut() == c.touche)
                a->trigger();
        EXPECT_EQ(ordre(), QString::fromLatin1(c.ordre));
        EXPECT_EQ(forme->diapo_courante(), c.affichee);
        forme->fermer_diaporama();
    }
    const struct {
        QAction *action;
        QKeySequence touche;
    } menus[] = {{forme->Ouvrirundiaporama1, QKeySequence(QStringLiteral("Ctrl+O"))},
                 {forme->Fermerundiaporama_me, QKeySequence(QStringLiteral("Ctrl+W"))},
                 {forme->Quitter1, QKeySequence(QStringLiteral("Ctrl+Q"))},
                 {forme->Documentation1, QKeySequence(QStringLiteral("F1"))},
                 {forme->lancer_action, QKeySequence(QStringLiteral("F5"))}};
    for (const auto &m : menus)
        EXPECT_EQ(m.action->shortcut(), m.touche) << m.touche.toString().toStdString();
    ouvre(2);
    script.dialogues.push_back([](QDialog &d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("lance_diaporama"));
        return int(QDialog::Rejected);
    });
    forme->lancer_action->trigger();
    EXPECT_EQ(script.dialogues_montres.size(), 1);
}

TEST_F(Edition, UnDiaporamaEnLectureSeuleSeMontreSansRienPermettreDeModifier)
{
    ouvre(2);
    forme->fermer_diaporama();
    // Another program holds the slideshow open.
    int pret[2];
    ASSERT_EQ(pipe(pret), 0);
    const pid_t autre = fork();
    if (autre == 0) {
        QLockFile verrou(dossier.chemin(QStringLiteral(".d.sli.lock")));
        if (!verrou.tryLock(0) || write(pret[1], "!", 1) != 1)
            _exit(1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(pret[0], &c, 1), 1);
    script.reponses = {systeme::Oui};
    forme->ouvre_diaporama(chemin);
    kill(autre, SIGKILL);
    waitpid(autre, nullptr, 0);
    EXPECT_TRUE(forme->windowTitle().endsWith(QStringLiteral("(lecture seule)")));
    for (QWidget *w : std::initializer_list<QWidget *>{forme->ajouter, forme->inserer, forme->photo_file,
                                                       forme->option_texte, forme->efface_son})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(forme->lancer->isEnabled());
    EXPECT_TRUE(forme->texte->isReadOnly());
}

}  // namespace
