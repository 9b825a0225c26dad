#include "plan_conversion.h"

#include "chemins.h"

#include <QDir>

QList<ConversionFichier> plan_conversion(const QStringList &choisis, const QString &dossier_source,
                                        const QString &dossier_cible, const QString &extension)
{
    QList<ConversionFichier> plan;
    for (auto nom = choisis.crbegin(); nom != choisis.crend(); ++nom)
        plan.append({QDir(dossier_source).filePath(*nom),
                     QDir(dossier_cible).filePath(nom_de_base_converti(nom_sans_lecteur(*nom).left(64)) +
                                                  extension)});
    return plan;
}
