// Pictures of the slides the player may show next, read ahead in worker threads
// and fitted to the screen as the player shows them (image_pour_ecran), so that
// a slide change only has to draw. A picture whose file changed since its reading
// started is not given: the caller reads it again the ordinary way.
#pragma once

#include <QDateTime>
#include <QFuture>
#include <QHash>
#include <QList>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class LectureAnticipee {
public:
    LectureAnticipee() = default;
    ~LectureAnticipee();
    LectureAnticipee(const LectureAnticipee &) = delete;
    LectureAnticipee &operator=(const LectureAnticipee &) = delete;

    // Starts reading `chemin` (a picture of one of the library's kinds) at depth
    // `profondeur` for a window of size `ecran`, unless it is already read or being
    // read unchanged (`ecran` in device pixels); other kinds of file are left to the ordinary reading.
    void prepare(const QString &chemin, QSize ecran, int profondeur, bool tramage);
    // The picture read for `chemin`, waiting for a reading under way; null when it
    // was not prepared for this size and depth, could not be read, or the file changed.
    QImage prise(const QString &chemin, QSize ecran, int profondeur);
    // Forgets every picture but those of `chemins`.
    void garde(const QStringList &chemins);
    void vide() { garde({}); }

private:
    struct Lecture {
        QDateTime modification;
        qint64 taille = -1;
        QSize ecran;
        int profondeur = 0;
        QFuture<QImage> image;
    };
    static bool inchangee(const Lecture &lecture, const QString &chemin);
    // Lets a reading no longer wanted finish in its thread; the window never waits on it.
    void abandonne(QFuture<QImage> image);
    QHash<QString, Lecture> lectures_;
    QList<QFuture<QImage>> abandonnees_;
};
