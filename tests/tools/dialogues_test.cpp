#include "Bimage.h"
#include "Finfo.h"
#include "Fnormal.h"
#include "Fopen.h"
#include "Fprint.h"
#include "Fsauve.h"
#include "Label3D.h"
#include "TMultiP.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(InfoImage, AvantTouteImagePuisRempliParLeControle)
{
    Tinfo_image info;
    const QList<TLabel3D *> valeurs = {info.info_type,     info.info_largeur, info.info_hauteur,
                                       info.info_taille,   info.info_couleurs, info.info_bits,
                                       info.info_densite,  info.info_compression};
    EXPECT_EQ(info.info_nom->text(), "Banque :");
    for (TLabel3D *valeur : valeurs)
        EXPECT_EQ(valeur->text(), "100");
    info.show();
    capture_ecran(&info, "info_image");

    DossierTemporaire dossier;
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(dossier.chemin("vert.bmp"), "BMP"));
    TPMultiImage controle;
    controle.setImageName(dossier.chemin("vert.bmp"));
    info.remplit("vert.bmp", controle);
    EXPECT_EQ(info.info_nom->text(), "vert.bmp");
    EXPECT_EQ(info.info_largeur->text(), "64");
    EXPECT_EQ(info.info_hauteur->text(), "48");
    EXPECT_EQ(info.info_taille->text(), QString::number(QFileInfo(dossier.chemin("vert.bmp")).size()));
    EXPECT_EQ(info.info_type->text(), controle.InfoType);
}

TEST(SauveImage, LeNomTapeResteALaSecondeOuverture)
{
    ScriptSysteme script;
    Tsauve_image sauve;
    script.dialogues.push_back([](QDialog &d) {
        QTest::keyClicks(static_cast<Tsauve_image &>(d).nom, "SCAN1.JPG");
        return int(QDialog::Accepted);
    });
    script.dialogues.push_back([](QDialog &d) { return static_cast<Tsauve_image &>(d).nom->text() == "SCAN1.JPG"; });
    systeme::execute(sauve);
    EXPECT_EQ(systeme::execute(sauve), 1);
    sauve.show();
    capture_ecran(&sauve, "sauve_image");
}

TEST(Impression, ToutTexteEstAccepteEtConfigurationOuvreLeReglageSansFermer)
{
    ScriptSysteme script;
    Timpression impression;
    impression.show();
    capture_ecran(&impression, "impression");
    for (QLineEdit *champ : {impression.zoom, impression.copies}) {
        champ->clear();
        QTest::keyClicks(champ, "deux cent %");
        EXPECT_EQ(champ->text(), "deux cent %");
    }
    script.reglages_imprimante.push_back(true);
    impression.BitBtn3->click();
    EXPECT_TRUE(script.reglages_imprimante.empty());
    EXPECT_TRUE(impression.isVisible());
    EXPECT_TRUE(impression.horizontal->isChecked() && impression.vertical->isChecked());
}

// Each showing centres the window's client area over the main window again, wherever it was left.
TEST(CentreesALaPrincipale, AChaqueAffichage)
{
    DossierTemporaire dossier;
    ScriptSysteme script;
    QWidget principale;
    principale.setGeometry(100, 50, 1000, 700);
    principale.show();
    Tnormal normal;
    Touvre_image navigateur(&normal, &principale);
    Tconversion conversion(&principale);
    for (QDialog *d : {static_cast<QDialog *>(&navigateur), static_cast<QDialog *>(&conversion)}) {
        for (int fois = 0; fois < 2; ++fois) {
            d->show();
            EXPECT_EQ(d->geometry().topLeft(), QPoint(100 + (1000 - d->width()) / 2, 50 + (700 - d->height()) / 2))
                << d->objectName().toStdString() << " " << fois;
            d->move(d->pos() + QPoint(0, 20));
            d->hide();
        }
    }
}

}  // namespace
