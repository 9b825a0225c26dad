// Pictures of the slides the player may show next, read ahead by the picture-reading
// service and fitted to the screen as the player shows them (image_pour_ecran), so
// that a slide change only has to draw. A picture whose file changed since its
// reading started is not given: the caller reads it again the ordinary way.
#pragma once

#include "service_lecture.h"

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// What a picture read for a screen of `ecran` device pixels is turned into for it:
// fitted (image_pour_ecran), in the form it is drawn in without a conversion.
QImage apprete_pour_l_ecran(QImage image, QSize ecran);

class LectureAnticipee {
public:
    // Starts reading `chemin` (a picture of one of the library's kinds) at depth
    // `profondeur` for a window of size `ecran`, unless it is already read or being
    // read unchanged (`ecran` in device pixels); other kinds of file are left to the ordinary reading.
    void prepare(const QString &chemin, QSize ecran, int profondeur, bool tramage);
    // The picture read for `chemin`, waiting for a reading under way; null when it
    // was not prepared for this size and depth, could not be read, or the file changed.
    QImage prise(const QString &chemin, QSize ecran, int profondeur);
    // Stops and forgets every picture but those of `chemins`.
    void garde(const QStringList &chemins);
    void vide() { garde({}); }
    // Waits for the readings under way; the paths whose picture is ready.
    QStringList attend_lectures();

private:
    ServiceLecture service_;
    QHash<QString, DemandeLecture> demandes_;
};
