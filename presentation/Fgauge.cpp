#include "Fgauge.h"

#include "barre_titre.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>

Tjauge::Tjauge(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("jauge"));
    setFixedSize(259, 33);
    auto *panneau = new QFrame(this);
    panneau->setFrameShape(QFrame::Panel);
    panneau->setFrameShadow(QFrame::Sunken);
    panneau->setGeometry(4, 4, 251, 25);
    barre = new QProgressBar(panneau);
    barre->setObjectName(QStringLiteral("barre"));
    barre->setGeometry(2, 2, 247, 21);
    barre->setTextVisible(false);
    barre->setRange(0, 100);
    barre->setValue(0);
    barre->setStyleSheet(QStringLiteral("QProgressBar { border: none; background: transparent; }"
                                        "QProgressBar::chunk { background: red; }"));
}

void Tjauge::ouvre(const QString &titre, int minimum, int maximum)
{
    setWindowTitle(titre);
    barre->setRange(minimum, maximum);
    barre->setValue(minimum);
    if (const QScreen *ecran = QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - rect().center());
    // Over the window whose task it follows, and no other.
    QWidget *tache = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    winId();
    if (!isVisible()) {
        windowHandle()->setTransientParent(tache && tache != this ? tache->windowHandle() : nullptr);
        systeme::sans_boutons_de_titre(*this);
    }
    show();
}

void Tjauge::avance(int valeur)
{
    barre->setValue(std::clamp(valeur, barre->minimum(), barre->maximum()));
    barre->repaint();
}

void Tjauge::ferme() { hide(); }

Tjauge::Ouverte::Ouverte(Tjauge &jauge, const QString &titre, int minimum, int maximum) : jauge_(jauge)
{
    jauge_.ouvre(titre, minimum, maximum);
}

Tjauge::Ouverte::~Ouverte() { jauge_.ferme(); }
