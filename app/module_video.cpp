#include "module_video.h"

#include "module_export_video.h"
#include "systeme.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

const QString NOM_MODULE = QStringLiteral("vistarama-export-video.so");

}  // namespace

QString chemin_module_video(const QString &dossier_programme)
{
    const QString a_cote = QDir(dossier_programme).filePath(NOM_MODULE);
    if (QFileInfo::exists(a_cote))
        return a_cote;
    return QDir::cleanPath(dossier_programme + QStringLiteral("/../" VISTA_DOSSIER_MODULES "/") + NOM_MODULE);
}

void exporte_par_le_module(QWidget *parent, bool attendre_fin_son, const QString &module)
{
    QLibrary bibliotheque(module);
    // Every symbol bound at once: one the program lacks refuses the module here,
    // rather than ending the program in the middle of the export.
    bibliotheque.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    const auto entree = reinterpret_cast<EntreeExportVideo>(bibliotheque.resolve(NOM_ENTREE_EXPORT_VIDEO));
    if (!entree) {
        const QString chemin = QDir::toNativeSeparators(module);
        const QString raison =
            !QFileInfo::exists(module)
                ? QStringLiteral("Le fichier %1 est introuvable.").arg(chemin)
                : QStringLiteral("Le fichier %1 ne peut pas être chargé : %2").arg(chemin, bibliotheque.errorString());
        systeme::boite(systeme::TypeBoite::Erreur,
                       QStringLiteral("L'exportation en vidéo n'est pas installée.\n\n") + raison);
        return;
    }
    entree(parent, attendre_fin_son);
}
