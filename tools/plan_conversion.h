// The order and the names of a batch conversion, without widgets.
#pragma once

#include "conversion_lot.h"

#include <QList>
#include <QString>
#include <QStringList>

// The conversions of the files `choisis` (in list order) of `dossier_source` into
// `dossier_cible` with `extension` (".JPG"...), from the bottom of the list up, so
// that where two sources give the same target the one nearer the top is written
// last. Each target is named by the upper-case base name cut to 13 characters;
// the folders and the sources keep their own case.
QList<ConversionFichier> plan_conversion(const QStringList &choisis, const QString &dossier_source,
                                        const QString &dossier_cible, const QString &extension);
