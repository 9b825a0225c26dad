#include "plateforme.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace lanceur {

namespace {

QSoundEffect &effet_sonore()
{
    static QSoundEffect *effet = new QSoundEffect(qApp);
    return *effet;
}

void joue_son_reel(const QString &fichier)
{
    QSoundEffect &effet = effet_sonore();
    effet.stop();
    if (!QFileInfo(fichier).isFile()) {
        QApplication::beep();
        return;
    }
    effet.setSource(QUrl::fromLocalFile(QFileInfo(fichier).absoluteFilePath()));
    effet.play();
}

QString dossier_du_bureau()
{
    const QString bureau = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(bureau).isDir() ? bureau : QDir::homePath();
}

void attends_reel(int millisecondes)
{
    QEventLoop boucle;
    QTimer::singleShot(millisecondes, &boucle, &QEventLoop::quit);
    boucle.exec();
}

Plateforme defauts()
{
    Plateforme p;
    p.joue_son = joue_son_reel;
    p.arrete_son = [] { effet_sonore().stop(); };
    p.choisir_dossier = [](QWidget *parent, const QString &titre) {
        return QFileDialog::getExistingDirectory(parent, titre, dossier_du_bureau());
    };
    p.lance_programme = [](const QString &programme, const QStringList &arguments) {
        return QProcess::startDetached(programme, arguments);
    };
    p.attends = attends_reel;
    return p;
}

}  // namespace

Plateforme &plateforme()
{
    static Plateforme installee = defauts();
    return installee;
}

void restaure_plateforme() { plateforme() = defauts(); }

}  // namespace lanceur
