#include "Fnormal.h"

#include "TMultiP.h"
#include "systeme.h"

#include <QScrollArea>
#include <QVBoxLayout>

Tnormal::Tnormal(QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("normal"));
    setWindowTitle(QStringLiteral("VISUALISATION DE L'IMAGE (TAILLE NORMAL)"));
    setWindowState(Qt::WindowMaximized);
    defilement = new QScrollArea(this);
    defilement->setFrameShape(QFrame::NoFrame);
    image = new TPMultiImage;
    image->setObjectName(QStringLiteral("image"));
    image->setCenter(true);
    image->setImageDither(true);
    image->setImageReadRes(lAutoMatic);
    defilement->setWidget(image);
    defilement->setWidgetResizable(false);
    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(defilement);
}

void Tnormal::montre(const TPicture &picture)
{
    image->setPicture(picture);
    image->setGeometry(QRect(QPoint(0, 0), image->Picture().size()));
    defilement->ensureVisible(0, 0);
    systeme::execute(*this);
}
