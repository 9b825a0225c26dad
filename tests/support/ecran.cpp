#include "ecran.h"

#include <QDir>
#include <QWidget>

void capture_ecran(QWidget *widget, const QString &name)
{
    const QString dossier = qEnvironmentVariable("VISTA_SCREENSHOTS");
    if (dossier.isEmpty())
        return;
    QDir().mkpath(dossier);
    widget->grab().save(dossier + QLatin1Char('/') + name + QStringLiteral(".png"));
}

DossierTemporaire::DossierTemporaire() : ancien_(QDir::currentPath())
{
    QDir::setCurrent(dossier_.path());
}

DossierTemporaire::~DossierTemporaire() { QDir::setCurrent(ancien_); }

QString DossierTemporaire::chemin(const QString &nom) const
{
    return nom.isEmpty() ? dossier_.path() : dossier_.filePath(nom);
}
