#include "plateforme.h"

#include <QApplication>
#include <QAudioOutput>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QMediaPlayer>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

namespace lanceur {

namespace {

// Each sound in a media stream of its own, gone when it ends: QSoundEffect on
// this Qt falls silent after a few plays.
QPointer<QMediaPlayer> &son_en_cours()
{
    static QPointer<QMediaPlayer> en_cours;
    return en_cours;
}

void arrete_son_reel()
{
    if (QMediaPlayer *lecteur = son_en_cours()) {
        lecteur->stop();
        lecteur->deleteLater();
    }
}

void joue_son_reel(const QString &fichier)
{
    arrete_son_reel();
    if (!QFileInfo(fichier).isFile()) {
        QApplication::beep();
        return;
    }
    auto *lecteur = new QMediaPlayer(qApp);
    lecteur->setAudioOutput(new QAudioOutput(lecteur));
    QObject::connect(lecteur, &QMediaPlayer::mediaStatusChanged, lecteur, [lecteur](QMediaPlayer::MediaStatus etat) {
        if (etat == QMediaPlayer::EndOfMedia || etat == QMediaPlayer::InvalidMedia)
            lecteur->deleteLater();
    });
    QObject::connect(lecteur, &QMediaPlayer::errorOccurred, lecteur, &QObject::deleteLater);
    lecteur->setSource(QUrl::fromLocalFile(QFileInfo(fichier).absoluteFilePath()));
    lecteur->play();
    son_en_cours() = lecteur;
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
    p.arrete_son = arrete_son_reel;
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
