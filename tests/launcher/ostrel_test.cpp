#include "ecran.h"
#include "langue.h"
#include "ostrel.h"
#include "plateforme.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace lanceur;

inline void PrintTo(const QString &texte, std::ostream *sortie) { *sortie << '"' << texte.toStdString() << '"'; }

namespace {

// Records what the launcher plays, asks, starts and waits for, in place of the machine.
struct ScriptPlateforme {
    QStringList sons;  // file names; "-" for a stop
    QStringList titres;
    QStringList dossiers;  // answers of the folder chooser, in order; empty cancels
    QStringList programmes;
    QList<int> attentes;
    QList<bool> sablier_pendant_attente;

    ScriptPlateforme()
    {
        Plateforme &p = plateforme();
        p.joue_son = [this](const QString &f) { sons << QDir(f).dirName(); };
        p.arrete_son = [this] { sons << QStringLiteral("-"); };
        p.choisir_dossier = [this](QWidget *, const QString &titre) {
            titres << titre;
            return dossiers.isEmpty() ? QString() : dossiers.takeFirst();
        };
        p.lance_programme = [this](const QString &programme, const QStringList &arguments) {
            programmes << (QStringList{programme} + arguments).join(QLatin1Char(' '));
            return true;
        };
        p.attends = [this](int ms) {
            attentes << ms;
            const QCursor *c = QApplication::overrideCursor();
            sablier_pendant_attente << (c && c->shape() == Qt::WaitCursor);
        };
    }
    ~ScriptPlateforme() { restaure_plateforme(); }

    void efface()
    {
        for (QStringList *liste : {&sons, &titres, &dossiers, &programmes})
            liste->clear();
        attentes.clear();
        sablier_pendant_attente.clear();
    }
};

const QPoint CENTRES[NOMBRE_COINS] = {{100, 113}, {461, 112}, {109, 344}, {498, 384}};
const QPoint FOND(290, 229);

class Lanceur : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(disque.path()).mkpath(QStringLiteral("Copy"));
        QFile archive(disque.filePath(QStringLiteral("Copy/Tarvik32.zip")));
        ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
        archive.write(QByteArray(3000, 'z'));
        archive.close();
        fenetre.Form_Load();
        // The offscreen pointer stays where the last test left it: out of the window.
        survole(QPoint(-50, -50));
    }

    QString chemin(const QString &nom) const { return disque.path() + QLatin1Char('/') + nom; }
    template <class T> T *controle(const QString &nom) const { return fenetre.findChild<T *>(nom); }
    QLabel *label(const char *nom, int i) const
    {
        return controle<QLabel>(QStringLiteral("%1_%2").arg(QLatin1String(nom)).arg(i));
    }
    bool allume(int coin) const
    {
        return label("Image2", coin)->isVisible() && label("Label1", coin)->isVisible() &&
               label("Label2", coin)->isVisible();
    }
    QList<int> coins_allumes() const
    {
        QList<int> coins;
        for (int i = 0; i < NOMBRE_COINS; ++i)
            if (allume(i))
                coins << i;
        return coins;
    }
    void survole(QPoint ou) { QTest::mouseMove(&fenetre, ou); }
    // Presses are given to the control under the mouse, as the window system would.
    void clique(int coin, Qt::MouseButton bouton = Qt::LeftButton)
    {
        survole(CENTRES[coin]);
        QWidget *zone = fenetre.childAt(CENTRES[coin]);
        QTest::mouseClick(zone, bouton, {}, zone->mapFrom(&fenetre, CENTRES[coin]));
    }
    void fin_de_quietude()
    {
        controle<QTimer>(QStringLiteral("Timer1"))->start(0);
        QTRY_VERIFY(!controle<QTimer>(QStringLiteral("Timer1"))->isActive());
    }
    Langue *fenetre_langue() const { return fenetre.findChild<Langue *>(); }
    // The offscreen platform gives the pointer to the first window under it, so
    // the language window is moved off the launcher's.
    Langue *ouvre_langue()
    {
        clique(COIN_LANGUE);
        Langue *langue = fenetre_langue();
        if (langue) {
            langue->move(fenetre.geometry().topRight() + QPoint(40, 0));
            EXPECT_TRUE(QTest::qWaitForWindowExposed(langue));
        }
        return langue;
    }
    void choisit_drapeau(int drapeau)
    {
        Langue *langue = ouvre_langue();
        ASSERT_NE(langue, nullptr);
        survole(CENTRES[COIN_COPIE]);  // lit on the way to the flags: dark after the choice
        const QPoint centre = langue->findChild<QWidget *>(QStringLiteral("Image2_%1").arg(drapeau))
                                  ->geometry().center();
        QTest::mouseMove(langue, centre);
        QWidget *allume = langue->childAt(centre);
        QTest::mouseClick(allume, Qt::LeftButton, {}, allume->mapFrom(langue, centre));
        QPointer<Langue> garde(langue);
        QTRY_VERIFY(garde.isNull());
    }

    QTemporaryDir disque;
    ScriptPlateforme script;
    Ostrel fenetre{disque.path()};
};

TEST_F(Lanceur, HoverLightsOneCornerSilentlyDuringTheQuietSpellThenWithTheHoverSound)
{
    EXPECT_EQ(fenetre.size(), QSize(580, 459));
    EXPECT_EQ(label("Image2", COIN_DEMO)->geometry(), QRect(416, 309, 164, 150));
    EXPECT_GT(controle<QTimer>(QStringLiteral("Timer1"))->remainingTime(), 6000);
    survole(CENTRES[COIN_LANGUE]);
    survole(CENTRES[COIN_COPIE]);
    EXPECT_EQ(coins_allumes(), QList<int>{COIN_COPIE});
    EXPECT_EQ(script.sons, QStringList{QStringLiteral("Tarvik1.wav")});

    fin_de_quietude();
    script.sons.clear();
    survole(CENTRES[COIN_INSTALLATION]);
    survole(CENTRES[COIN_INSTALLATION] + QPoint(20, 20));
    EXPECT_EQ(coins_allumes(), QList<int>{COIN_INSTALLATION});
    survole(FOND);
    EXPECT_TRUE(coins_allumes().isEmpty());
    survole(CENTRES[COIN_INSTALLATION]);
    EXPECT_EQ(script.sons, QStringList({QStringLiteral("Tarvik3.wav"), QStringLiteral("Tarvik3.wav")}));
    capture_ecran(&fenetre, QStringLiteral("ostrel_installation_A"));
}

TEST_F(Lanceur, AnyButtonRunsTheCornerWhichStaysDarkUntilTheMouseLeavesIt)
{
    for (Qt::MouseButton bouton : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
        SCOPED_TRACE(int(bouton));
        script.programmes.clear();
        clique(COIN_INSTALLATION, bouton);
        EXPECT_EQ(script.programmes, QStringList{chemin(QStringLiteral("Setup/Setup.exe A"))});
        EXPECT_EQ(script.sons.last(), QStringLiteral("Tarvik2.wav"));
        survole(CENTRES[COIN_INSTALLATION] + QPoint(10, 10));
        EXPECT_FALSE(allume(COIN_INSTALLATION));
        survole(FOND);
    }
    // The click ended the quiet spell.
    script.sons.clear();
    survole(CENTRES[COIN_INSTALLATION]);
    EXPECT_TRUE(allume(COIN_INSTALLATION));
    EXPECT_EQ(script.sons, QStringList{QStringLiteral("Tarvik3.wav")});
}

TEST_F(Lanceur, CopyGoesToTheChosenFolderAndCancellingCopiesNothing)
{
    QTemporaryDir cible;
    clique(COIN_COPIE);
    EXPECT_TRUE(allume(COIN_COPIE));
    EXPECT_TRUE(QDir(cible.path()).isEmpty());

    script.dossiers << cible.path();
    clique(COIN_COPIE);
    EXPECT_FALSE(allume(COIN_COPIE));
    EXPECT_EQ(script.titres, QStringList(2, QStringLiteral("Copy TARVIK32.ZIP to :")));
    QFile copie(cible.filePath(QStringLiteral("Tarvik32.zip")));
    ASSERT_TRUE(copie.open(QIODevice::ReadOnly));
    EXPECT_EQ(copie.readAll(), QByteArray(3000, 'z'));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Lanceur, EachFlagGivesItsLanguageToCaptionsCopyTitleAndDemonstration)
{
    struct Cas {
        int drapeau;
        QStringList legendes;
        QString titre, demo;
        QString annuler;  // the folder chooser's own button
    };
    const Cas cas[] = {
        {0, {"Langue", "Copier", "Installer", "Démo"}, "Copier TARVIK32.ZIP vers :", "Demo/Francais.exe", "Annuler"},
        {1, {"Sprache", "Kopieren", "Installieren", "Vorführung"}, "Kopieren TARVIK32.ZIP :", "Demo/Deutsch.exe",
         "Abbrechen"},
        {2, {"Language", "Copy", "Setup", "Demo"}, "Copy TARVIK32.ZIP to :", "Demo/English.exe", "Cancel"},
        {3, {"Idioma", "Copiar", "Instalar", "Demo"}, "Copiar TARVIK32.ZIP en :", "Demo/Espanol.exe", "Cancelar"},
        {4, {"Language", "Copy", "Setup", "Demo"}, "Copy TARVIK32.ZIP to :", "Demo/English.exe", "Cancel"},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.drapeau);
        script.efface();
        choisit_drapeau(c.drapeau);
        EXPECT_TRUE(coins_allumes().isEmpty());
        EXPECT_EQ(fenetre.windowTitle(), QStringLiteral("Tarvik'Tools 3.2"));
        for (int i = 0; i < NOMBRE_COINS; ++i) {
            EXPECT_EQ(label("Label1", i)->text(), c.legendes[i]);
            EXPECT_EQ(label("Label2", i)->text(), c.legendes[i]);
        }
        clique(COIN_COPIE);
        EXPECT_EQ(script.titres, QStringList{c.titre});
        QFileDialog choix(&fenetre);
        choix.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_EQ(choix.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->text(), c.annuler);

        script.sons.clear();
        clique(COIN_DEMO);
        EXPECT_EQ(script.programmes, QStringList{chemin(c.demo)});
        EXPECT_EQ(script.sons.mid(script.sons.size() - 2),
                  QStringList({QStringLiteral("Tarvik2.wav"), QStringLiteral("-")}));
        ASSERT_EQ(script.attentes.size(), 1);
        EXPECT_GT(script.attentes[0], 1000);
        EXPECT_LE(script.attentes[0], 2000);
        EXPECT_EQ(script.sablier_pendant_attente, QList<bool>{true});
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        survole(CENTRES[COIN_COPIE]);
        capture_ecran(&fenetre, QStringLiteral("ostrel_copie_drapeau%1").arg(c.drapeau));
    }
}

TEST_F(Lanceur, LanguageWindowLightsOneFlagAtATimeAndIsNewAtEachShowing)
{
    Langue *langue = ouvre_langue();
    auto drapeau_allume = [&](int i) {
        return langue->findChild<QWidget *>(QStringLiteral("Image3_%1").arg(i))->isVisible();
    };
    auto place = [&](int i) {
        return langue->findChild<QWidget *>(QStringLiteral("Image2_%1").arg(i))->geometry().center();
    };
    script.sons.clear();
    QTest::mouseMove(langue, place(1));
    QTest::mouseMove(langue, place(4));
    QTest::mouseMove(langue, place(4) + QPoint(3, 3));
    EXPECT_FALSE(drapeau_allume(1));
    EXPECT_TRUE(drapeau_allume(4));
    // Still within the launcher's quiet spell: flags sound all the same.
    EXPECT_EQ(script.sons, QStringList(2, QStringLiteral("Tarvik3.wav")));
    capture_ecran(langue, QStringLiteral("langue_drapeau4"));
    QTest::mouseMove(langue, QPoint(2, 60));
    EXPECT_FALSE(drapeau_allume(4));

    QTest::mouseMove(langue, place(0));
    langue->close();
    QPointer<Langue> garde(langue);
    QTRY_VERIFY(garde.isNull());
    langue = ouvre_langue();
    for (int i = 0; i < NOMBRE_DRAPEAUX; ++i)
        EXPECT_FALSE(drapeau_allume(i));
}

TEST_F(Lanceur, ProgramsReallyStartAndAMissingOneStartsNothing)
{
    restaure_plateforme();
    plateforme().joue_son = [](const QString &) {};
    plateforme().attends = [](int) {};

    clique(COIN_DEMO);
    clique(COIN_INSTALLATION);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QDir(disque.path()).mkpath(QStringLiteral("Setup"));
    const QString installation = chemin(QStringLiteral("Setup/Setup.exe"));
    QFile script_installation(installation);
    ASSERT_TRUE(script_installation.open(QIODevice::WriteOnly));
    script_installation.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/installe\"\n");
    script_installation.close();
    script_installation.setPermissions(script_installation.permissions() | QFileDevice::ExeOwner);
    survole(FOND);
    clique(COIN_INSTALLATION);
    QTRY_VERIFY(QFile::exists(chemin(QStringLiteral("Setup/installe"))));
}

TEST_F(Lanceur, ClosingStopsTheSoundAndTheLanguageWindow)
{
    clique(COIN_LANGUE);
    QPointer<Langue> langue(fenetre_langue());
    script.sons.clear();
    fenetre.close();
    EXPECT_EQ(script.sons, QStringList{QStringLiteral("-")});
    QTRY_VERIFY(langue.isNull());
}

TEST(Plateforme, TheWaitKeepsHandlingEvents)
{
    bool traite = false;
    QTimer::singleShot(0, [&] { traite = true; });
    plateforme().attends(30);
    EXPECT_TRUE(traite);
}

}  // namespace
