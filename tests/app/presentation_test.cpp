// The main window's commands around the presentation: the mode settings, the
// display options and the show, as the user reaches them.
#include "Fmode.h"
#include "Moteur.h"
#include "Option.h"
#include "Optiong.h"
#include "TMultiP.h"
#include "application.h"
#include "config_sli.h"
#include "ecran.h"
#include "fichier_sli.h"
#include "main.h"
#include "script_systeme.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

class Presentation : public ::testing::Test {
protected:
    void SetUp() override
    {
        titre_application = QStringLiteral("Slideshow V2.32");
        const QString chemin = dossier.chemin("essai.sli");
        ouvre_fichier_sli(chemin);
        QImage dessin(64, 48, QImage::Format_RGB32);
        dessin.fill(Qt::blue);
        dessin.save(dossier.chemin("photo.bmp"), "BMP");
        for (int k = 1; k <= 3; ++k) {
            ajoute_fiche();
            fiche.chemin_image.affecte(dossier.chemin("photo.bmp"));
            fiche.commentaire.affecte(QStringLiteral("Diapo %1").arg(k));
            ecrit_fiche(k);
        }
        ferme_fichier_sli();
        forme = std::make_unique<TForm1>();
        forme->resize(900, 650);
        forme->demarrage_differe();
        forme->ouvre_diaporama(chemin);
    }
    void TearDown() override
    {
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
        forme.reset();
    }

    QList<qint16> config_stockee()
    {
        QFile f(chemin_config());
        f.open(QIODevice::ReadOnly);
        const QByteArray o = f.readAll();
        return {qFromLittleEndian<qint16>(o.constData() + 43), qFromLittleEndian<qint16>(o.constData() + 45),
                qFromLittleEndian<qint16>(o.constData() + 47)};
    }

    DossierTemporaire dossier;
    ScriptSysteme script;
    std::unique_ptr<TForm1> forme;
};

TEST_F(Presentation, LeModeChoisiParLeBoutonOuLeMenuEstStockePuisSuiviParLeSpectacle)
{
    EXPECT_EQ(QFile(chemin_config()).size(), 49);
    EXPECT_EQ(config_stockee(), (QList<qint16>{2, 1, 10}));
    const auto manuel_pave = [](QDialog &d) {
        auto &m = static_cast<Tmode &>(d);
        m.show();
        QTest::mouseClick(m.manuel, Qt::LeftButton);
        QTest::mouseClick(m.b2, Qt::LeftButton);
        QTest::mouseClick(m.BitBtn1, Qt::LeftButton);
        return m.result();
    };
    script.dialogues.push_back(manuel_pave);
    forme->mode_bt->click();
    EXPECT_EQ(config_stockee(), (QList<qint16>{1, 2, 10}));
    reglages = {2, 1, 10};  // as if changed in memory only: the show reloads the file

    bool pave_montre = false;
    script.dialogues.push_back([&](QDialog &d) {
        d.show();
        QTest::qWait(20);
        pave_montre = static_cast<Tlance_diaporama &>(d).pave->isVisible();
        QTest::keyClick(&d, Qt::Key_Escape);
        return d.result();
    });
    forme->lancer->click();
    EXPECT_TRUE(pave_montre);

    script.dialogues.push_back([](QDialog &d) {
        auto &m = static_cast<Tmode &>(d);
        m.show();
        QTest::mouseClick(m.automatique, Qt::LeftButton);
        QTest::mouseClick(m.BitBtn1, Qt::LeftButton);
        return m.result();
    });
    forme->Modededfilement2->trigger();
    EXPECT_EQ(config_stockee(), (QList<qint16>{2, 2, 10}));
}

TEST_F(Presentation, ApresLeSpectacleLEditeurMontreSaDiapositiveAvecSesModifications)
{
    forme->suivanteClick();
    forme->texte->setText(QStringLiteral("modifiée"));
    QStringList vus;
    script.dialogues.push_back([&](QDialog &d) {
        auto &joueur = static_cast<Tlance_diaporama &>(d);
        EXPECT_EQ(joueur.size(), QSize(forme->largeur_depart, forme->hauteur_depart));
        d.show();
        QTest::qWait(20);
        vus << joueur.diapositive->Text();
        QTest::keyClick(&d, Qt::Key_Right);
        vus << joueur.diapositive->Text();
        QTest::keyClick(&d, Qt::Key_Escape);
        return d.result();
    });
    forme->lancer->click();
    EXPECT_EQ(vus, (QStringList{"Diapo 1", "modifiée"}));
    EXPECT_EQ(forme->diapo_courante(), 2);
    EXPECT_EQ(fiche.commentaire.valeur(), "modifiée");
    EXPECT_EQ(forme->texte->text(), "modifiée");
}

TEST_F(Presentation, LesOptionsDAffichageVontDansLaFicheDeLaDiapositiveOuDansLaFiche0)
{
    forme->suivanteClick();
    script.dialogues.push_back([](QDialog &d) {
        auto &o = static_cast<Toption_affichage &>(d);
        o.show();
        o.en_bas->click();
        QTest::mouseClick(o.BitBtn1, Qt::LeftButton);
        return o.result();
    });
    forme->option_texte->click();
    lit_fiche(2);
    EXPECT_EQ(fiche.position_texte, 2);

    script.dialogues.push_back([](QDialog &d) {
        auto &o = static_cast<Toption_affichage_general &>(d);
        o.show();
        o.tout->setChecked(true);
        QTest::mouseClick(o.BitBtn1, Qt::LeftButton);
        return o.result();
    });
    forme->option_bt->click();
    // The editor's slide is back in the buffer.
    EXPECT_EQ(fiche.commentaire.valeur(), "Diapo 2");
    lit_fiche(0);
    EXPECT_EQ(fiche.toutes_diapos, 1);
    EXPECT_EQ(script.dialogues_montres, (QStringList{"option_affichage", "option_affichage_general"}));
}

}  // namespace
