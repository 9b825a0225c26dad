// Helpers shared by the tests: scratch folders and screenshots.
#pragma once

#include <QString>
#include <QTemporaryDir>

class QWidget;

// Saves a grab of `widget` as `name`.png in $VISTA_SCREENSHOTS when that is set
// (for looking at the windows by hand); does nothing otherwise.
void capture_ecran(QWidget *widget, const QString &name);

// A scratch folder that is also the current folder while it lives.
class DossierTemporaire {
public:
    DossierTemporaire();
    ~DossierTemporaire();
    QString chemin(const QString &nom = {}) const;

private:
    QTemporaryDir dossier_;
    QString ancien_;
};
