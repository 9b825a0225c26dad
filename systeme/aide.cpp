#include "aide.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QWindow>

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
    // Asked from a modal dialog (its F1), the window belongs to the dialog for the
    // window system: shown over it, and usable while it stays open.
    QWidget *modale = QApplication::activeModalWidget();
    QWindow *devant = modale && modale != fenetre ? modale->windowHandle() : nullptr;
    fenetre->winId();
    if (fenetre->windowHandle()->transientParent() != devant) {
        fenetre->hide();
        fenetre->windowHandle()->setTransientParent(devant);
    }
    fenetre->show();
    fenetre->raise();
    fenetre->activateWindow();
}

}  // namespace systeme
