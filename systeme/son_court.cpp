#include "son_court.h"

#include <QApplication>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>

namespace systeme {

void joue_son_court(const QString &chemin)
{
    static QPointer<QMediaPlayer> en_cours;
    if (en_cours) {
        en_cours->stop();
        en_cours->deleteLater();
    }
    if (chemin.isEmpty() || !QFileInfo::exists(chemin)) {
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
    lecteur->setSource(QUrl::fromLocalFile(QFileInfo(chemin).absoluteFilePath()));
    lecteur->play();
    en_cours = lecteur;
}

}  // namespace systeme
