#include "diaporama.h"
#include "ecran.h"
#include "erreurs.h"
#include "fichier_sli.h"
#include "script_systeme.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cstring>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray contenu(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ecrit(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(octets);
}

class DocumentDiaporama : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (doc.ouvert())
            doc.ferme();
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
    }

    // A closed slideshow of `n` slides commented "1", "2", ...
    QString prepare(int n, const QString &nom = QStringLiteral("d.sli"))
    {
        const QString chemin = dossier.chemin(nom);
        QFile::remove(chemin);
        ouvre_fichier_sli(chemin);
        QByteArray octets(qsizetype(n + 1) * TAILLE_FICHE, Qt::Uninitialized);
        FicheDiapo diapo = copie_fiche(0);
        std::memcpy(octets.data(), &diapo, TAILLE_FICHE);
        for (int k = 1; k <= n; ++k) {
            diapo = fiche_nouvelle();
            diapo.commentaire.affecte(QString::number(k));
            std::memcpy(octets.data() + qsizetype(k) * TAILLE_FICHE, &diapo, TAILLE_FICHE);
        }
        ferme_fichier_sli();
        ecrit(chemin, octets);
        return chemin;
    }

    // The slides' comments, empty ones as "_".
    QString ordre(const QString &chemin) const
    {
        const QByteArray octets = contenu(chemin);
        QStringList commentaires;
        for (qsizetype k = 1; k < octets.size() / TAILLE_FICHE; ++k) {
            FicheDiapo f;
            std::memcpy(&f, octets.constData() + k * TAILLE_FICHE, TAILLE_FICHE);
            commentaires << (f.commentaire.est_vide() ? QStringLiteral("_") : f.commentaire.valeur());
        }
        return commentaires.join(QLatin1Char(' '));
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    Diaporama &doc = Diaporama::courant();
};

// Runs `action` in a child process without root's right to write anywhere; its exit status.
int en_utilisateur_ordinaire(const std::function<int()> &action)
{
    const pid_t enfant = fork();
    if (enfant == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
        _exit(action());
    }
    int etat = 0;
    waitpid(enfant, &etat, 0);
    return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

TEST_F(DocumentDiaporama, UneEcritureQuiEchoueLaisseLeFichierEtLaDiapositiveAffichee)
{
    struct Cas {
        const char *nom;
        std::function<void(Diaporama &)> operation;
        const char *apres;
    };
    const Cas cas[] = {
        {"insérer", [](Diaporama &d) { d.insere(); }, "1 _ 2 3 4"},
        {"supprimer", [](Diaporama &d) { d.supprime(); }, "1 3 4"},
        {"déplacer", [](Diaporama &d) { d.deplace(4); }, "1 3 4 2"},
        {"ajouter", [](Diaporama &d) { d.ajoute(); }, "1 2 3 4 _"},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit ancienne{};
    getrlimit(RLIMIT_FSIZE, &ancienne);
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        const QString chemin = prepare(4);
        const QByteArray avant = contenu(chemin);
        // Every place a write can stop: before each record of the new content, and within one.
        for (qsizetype limite = 0; limite < avant.size() + TAILLE_FICHE; limite += TAILLE_FICHE / 2) {
            ASSERT_TRUE(doc.ouvre(chemin));
            doc.va_a(2);
            const QByteArray affichee(reinterpret_cast<const char *>(&fiche), TAILLE_FICHE);
            rlimit petite = ancienne;
            petite.rlim_cur = rlim_t(limite);
            setrlimit(RLIMIT_FSIZE, &petite);
            const bool reussi = erreurs::sous_garde([&] { c.operation(doc); });
            setrlimit(RLIMIT_FSIZE, &ancienne);
            const QByteArray apres = contenu(chemin);
            if (reussi) {
                EXPECT_EQ(ordre(chemin), QString::fromUtf8(c.apres)) << limite;
            } else {
                EXPECT_EQ(apres, avant) << limite;
                EXPECT_EQ(doc.courante(), 2);
                EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(&fiche), TAILLE_FICHE), affichee) << limite;
            }
            doc.ferme();
            ecrit(chemin, avant);
        }
        EXPECT_EQ(QDir(dossier.chemin()).entryList(QDir::Files | QDir::Hidden), QStringList{"d.sli"});
        script.boites.clear();
    }
}

TEST_F(DocumentDiaporama, UnProgrammeTueEnPleineInsertionNeDoubleNiNePerdAucuneDiapositive)
{
    const QString chemin = prepare(20000);
    QString attendu = ordre(chemin);
    QRandomGenerator hasard(20000);
    for (int essai = 0; essai < 30; ++essai) {
        const pid_t enfant = fork();
        if (enfant == 0) {
            Diaporama &d = Diaporama::courant();
            d.ouvre(chemin);
            d.va_a(1 + essai);
            for (;;)
                d.insere();
        }
        usleep(useconds_t(hasard.bounded(20'000, 150'000)));
        kill(enfant, SIGKILL);
        waitpid(enfant, nullptr, 0);
        // The original slides, each once and in order, with the empty ones that got in.
        QStringList vus = ordre(chemin).split(QLatin1Char(' '));
        vus.removeAll(QStringLiteral("_"));
        ASSERT_EQ(vus.join(QLatin1Char(' ')), attendu) << "essai " << essai;
        ASSERT_EQ(contenu(chemin).size() % TAILLE_FICHE, 0);
    }
}

TEST_F(DocumentDiaporama, UnLienSymboliqueResteUnLienEtSaCibleRecoitLesModifications)
{
    const QString cible = prepare(3);
    const QString lien = dossier.chemin(QStringLiteral("lien.sli"));
    ASSERT_TRUE(QFile::link(cible, lien));
    ASSERT_TRUE(doc.ouvre(lien));
    doc.va_a(1);
    doc.deplace(3);
    doc.insere();
    doc.ferme();
    EXPECT_TRUE(QFileInfo(lien).isSymLink());
    EXPECT_EQ(ordre(cible), QStringLiteral("2 3 _ 1"));
}

TEST_F(DocumentDiaporama, UnDossierQuiRefuseUnNouveauFichierLeDitEtNeChangeRien)
{
    const QString chemin = prepare(3);
    const QByteArray avant = contenu(chemin);
    QFile::setPermissions(chemin, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther |
                                      QFileDevice::WriteOther | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    QFile::setPermissions(dossier.chemin(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    int pipe_texte[2];
    ASSERT_EQ(pipe(pipe_texte), 0);
    const int statut = en_utilisateur_ordinaire([&] {
        Diaporama &d = Diaporama::courant();
        if (!d.ouvre(chemin))
            return 2;
        d.va_a(1);
        try {
            d.supprime();
        } catch (const erreurs::ErreurES &e) {
            const QByteArray texte = e.texte().toUtf8();
            if (write(pipe_texte[1], texte.constData(), size_t(texte.size())) < 0)
                return 4;
            return d.courante() == 1 && d.nombre() == 3 ? 0 : 5;
        }
        return 3;
    });
    close(pipe_texte[1]);
    char lu[512] = {};
    const ssize_t n = read(pipe_texte[0], lu, sizeof lu - 1);
    close(pipe_texte[0]);
    QFile::setPermissions(dossier.chemin(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(statut, 0);
    EXPECT_GT(n, 0);
    EXPECT_TRUE(QString::fromUtf8(lu).contains(QStringLiteral("n'accepte pas de nouveau fichier"))) << lu;
    EXPECT_EQ(contenu(chemin), avant);
}

TEST_F(DocumentDiaporama, UnSecondProgrammeEstPrevenuEtLaLectureSeuleNEcritRien)
{
    const QString chemin = prepare(2);
    const QByteArray avant = contenu(chemin);
    int pret[2];
    ASSERT_EQ(pipe(pret), 0);
    const pid_t premier = fork();
    if (premier == 0) {
        Diaporama::courant().ouvre(chemin);
        if (write(pret[1], "!", 1) != 1)
            _exit(1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(pret[0], &c, 1), 1);

    script.reponses = {systeme::Non};
    EXPECT_FALSE(doc.ouvre(chemin));
    EXPECT_FALSE(doc.ouvert());
    script.reponses = {systeme::Oui};
    ASSERT_TRUE(doc.ouvre(chemin));
    EXPECT_TRUE(doc.lecture_seule());
    EXPECT_TRUE(script.textes_boites().first().startsWith(QStringLiteral("Ce diaporama est déjà ouvert par un autre programme")));
    doc.va_a(2);
    doc.fixe_commentaire(QStringLiteral("changé"));
    doc.ajoute();
    doc.insere();
    doc.supprime();
    doc.deplace(1);
    doc.efface_image();
    doc.ferme();
    EXPECT_EQ(QCryptographicHash::hash(contenu(chemin), QCryptographicHash::Sha256),
              QCryptographicHash::hash(avant, QCryptographicHash::Sha256));

    // The lock of a program that died is taken over without a question.
    kill(premier, SIGKILL);
    waitpid(premier, nullptr, 0);
    const int boites = int(script.textes_boites().size());
    ASSERT_TRUE(doc.ouvre(chemin));
    EXPECT_FALSE(doc.lecture_seule());
    EXPECT_EQ(script.textes_boites().size(), boites);
}

TEST_F(DocumentDiaporama, SeulUnDiaporamaSOuvreEtUnFichierRefuseResteIntact)
{
    QByteArray hasard(5000, '\0');
    QRandomGenerator graine(5000);
    for (char &octet : hasard)
        octet = char(graine.bounded(256));
    QByteArray jpeg = QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000") + hasard;
    struct Cas {
        QString nom;
        QByteArray octets;
    };
    const Cas cas[] = {{QStringLiteral("photo.jpg"), jpeg}, {QStringLiteral("hasard.sli"), hasard},
                       {QStringLiteral("court.sli"), QByteArray(100, 'x')}};
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom.toStdString());
        const QString chemin = dossier.chemin(c.nom);
        ecrit(chemin, c.octets);
        EXPECT_FALSE(erreurs::sous_garde([&] { doc.ouvre(chemin); }));
        EXPECT_TRUE(script.textes_boites().last().endsWith(QStringLiteral("n'est pas un diaporama.")));
        EXPECT_FALSE(doc.ouvert());
        EXPECT_EQ(contenu(chemin), c.octets);
    }
    ASSERT_TRUE(QDir(dossier.chemin()).mkdir(QStringLiteral("dossier.sli")));
    EXPECT_FALSE(erreurs::sous_garde([&] { doc.ouvre(dossier.chemin(QStringLiteral("dossier.sli"))); }));
    EXPECT_FALSE(doc.ouvert());
}

TEST_F(DocumentDiaporama, UnDiaporamaVideRecoitSaFicheDeReglagesAvantSaPremiereDiapositive)
{
    const QString chemin = dossier.chemin(QStringLiteral("vide.sli"));
    ecrit(chemin, {});
    ASSERT_TRUE(doc.ouvre(chemin));
    EXPECT_EQ(contenu(chemin).size(), TAILLE_FICHE);
    EXPECT_EQ(doc.courante(), -1);
    doc.ajoute();
    doc.fixe_commentaire(QStringLiteral("première"));
    doc.ferme();
    EXPECT_EQ(ordre(chemin), QStringLiteral("première"));
    FicheDiapo reglages;
    std::memcpy(&reglages, contenu(chemin).constData(), TAILLE_FICHE);
    EXPECT_TRUE(reglages.commentaire.est_vide());
}

}  // namespace
