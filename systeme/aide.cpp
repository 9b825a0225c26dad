#include "aide.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>

namespace systeme {

QTextBrowser *fenetre_aide()
{
    static QTextBrowser *fenetre = [] {
        auto *f = new QTextBrowser;
        f->setWindowTitle(QStringLiteral("Aide"));
        f->resize(640, 480);
        f->setOpenExternalLinks(false);
        return f;
    }();
    return fenetre;
}

void montre_aide(const QString &fichier, int contexte)
{
    QTextBrowser *fenetre = fenetre_aide();
    QFile f(fichier);
    if (!f.open(QIODevice::ReadOnly)) {
        fenetre->setHtml(QStringLiteral("<p>Le fichier d'aide %1 est introuvable.</p>")
                             .arg(fichier.toHtmlEscaped()));
    } else {
        fenetre->setHtml(QString::fromUtf8(f.readAll()));
        fenetre->scrollToAnchor(QStringLiteral("contexte%1").arg(contexte));
    }
    fenetre->show();
    fenetre->raise();
}

}  // namespace systeme
