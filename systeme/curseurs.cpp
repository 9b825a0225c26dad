#include "curseurs.h"

#include <QHash>
#include <QPixmap>

namespace {

QHash<int, QCursor> &registre()
{
    static QHash<int, QCursor> curseurs;
    return curseurs;
}

}  // namespace

void enregistre_curseur(int numero, const QCursor &curseur) { registre().insert(numero, curseur); }

QCursor curseur_ecran(int numero) { return registre().value(numero, QCursor(Qt::ArrowCursor)); }

QCursor charge_curseur(const QString &nom)
{
    const QPixmap image(QStringLiteral(":/curseurs/%1.png").arg(nom));
    if (image.isNull())
        return QCursor(Qt::DragMoveCursor);
    return QCursor(image);
}
