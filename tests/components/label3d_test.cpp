#include "Label3D.h"

#include "ecran.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QSet<QRgb> couleurs(QWidget &w)
{
    QSet<QRgb> vues;
    const QImage image = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            vues.insert(image.pixel(x, y) & 0xFFFFFF);
    return vues;
}

struct Cas {
    bool actif;
    bool transparent;
};

// The shadow always shows in ShadowColor; the text in its colour, or grey when
// disabled; the background is painted with Color unless the label is transparent.
TEST(Label3D, OmbreTexteEtFondSelonLEtat)
{
    for (const Cas c : {Cas{true, false}, Cas{false, false}, Cas{true, true}}) {
        QWidget fond;
        fond.setAutoFillBackground(true);
        QPalette pf = fond.palette();
        pf.setColor(QPalette::Window, Qt::green);
        fond.setPalette(pf);
        fond.resize(200, 60);
        TLabel3D label(QStringLiteral("Image à convertir"), &fond);
        QFont police(QStringLiteral("Liberation Serif"), 18, QFont::Bold);
        police.setStyleStrategy(QFont::NoAntialias);
        label.setFont(police);
        QPalette pl = label.palette();
        pl.setColor(QPalette::Active, QPalette::WindowText, Qt::blue);
        pl.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
        label.setPalette(pl);
        label.setShadowColor(Qt::red);
        label.setColor(Qt::yellow);
        label.setTransparent(c.transparent);
        label.setEnabled(c.actif);
        label.setGeometry(0, 0, 200, 60);
        fond.show();
        capture_ecran(&fond, QStringLiteral("label3d_%1_%2").arg(c.actif).arg(c.transparent));

        const QSet<QRgb> vues = couleurs(fond);
        EXPECT_TRUE(vues.contains(0xFF0000)) << c.actif << c.transparent;
        EXPECT_EQ(vues.contains(0x0000FF), c.actif);
        EXPECT_EQ(vues.contains(0x808080), !c.actif);
        EXPECT_EQ(vues.contains(0xFFFF00), !c.transparent);
        EXPECT_EQ(vues.contains(0x00FF00), c.transparent);
    }
}

TEST(Label3D, GranditDUnPixelALaCreation)
{
    QLabel ordinaire;
    TLabel3D label;
    EXPECT_EQ(label.size(), ordinaire.size() + QSize(1, 1));
}

}  // namespace
