#include "Fexport_video.h"

#include "config_sli.h"
#include "diaporama.h"
#include "export_video.h"
#include "progression.h"
#include "service_lecture.h"
#include "systeme.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TExportVideo::TExportVideo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("export_video"));
    setWindowTitle(QStringLiteral("Exporter en vidéo"));
    auto *colonne = new QVBoxLayout(this);
    etat = new QLabel(this);
    etat->setObjectName(QStringLiteral("etat"));
    barre = new QProgressBar(this);
    barre->setObjectName(QStringLiteral("barre"));
    barre->setMinimumWidth(320);
    annuler = new QPushButton(QStringLiteral("Annuler"), this);
    annuler->setObjectName(QStringLiteral("annuler"));
    connect(annuler, &QPushButton::clicked, this, [this] {
        arret_ = true;
        annuler->setEnabled(false);
    });
    colonne->addWidget(etat);
    colonne->addWidget(barre);
    colonne->addWidget(annuler, 0, Qt::AlignRight);
}

// Closing the window or Escape stops the export as Annuler does.
void TExportVideo::closeEvent(QCloseEvent *event)
{
    event->ignore();
    annuler->click();
}

void TExportVideo::reject() { annuler->click(); }

void TExportVideo::exporte(QWidget *parent, bool attendre_fin_son)
{
    Diaporama &document = Diaporama::courant();
    if (!document.ouvert() || document.nombre() == 0) {
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Il n'y a aucune diapositive à exporter"));
        return;
    }
    const QFileInfo diaporama(document.nom());
    QString sortie = systeme::choisir_fichier({parent, QStringLiteral("Exporter en vidéo"),
                                               QStringLiteral("Vidéo MP4|*.mp4|Vidéo WebM|*.webm"),
                                               diaporama.completeBaseName() + QStringLiteral(".mp4"),
                                               diaporama.absolutePath(), true});
    if (sortie.isEmpty())
        return;
    const QString suffixe = QFileInfo(sortie).suffix().toLower();
    if (suffixe != QLatin1String("mp4") && suffixe != QLatin1String("webm"))
        sortie += QStringLiteral(".mp4");

    // Read here: the record file belongs to this thread.
    const FicheDiapo defauts = document.diapo(0);
    const QList<DiapoAExporter> diapos = diapos_du_diaporama();
    ReglagesExport r;
    r.delai = std::clamp<int>(reglages.delai, 1, 60);
    r.attendre_fin_son = attendre_fin_son;
    r.police_echec = QApplication::font();

    TExportVideo fenetre(parent);
    fenetre.etat->setText(QStringLiteral("Exportation de %1").arg(QDir::toNativeSeparators(sortie)));
    fenetre.show();
    QEventLoop attente;
    IssueExport issue;
    std::atomic_bool fini{false};
    std::atomic_int faites{0}, total{1};
    ServiceLecture::reservoir().start([&] {
        issue = exporte_video(defauts, diapos, sortie, r, [&](int n, int sur) {
            faites = n;
            total = sur;
            QMetaObject::invokeMethod(&fenetre, [&] {
                fenetre.barre->setRange(0, total);
                fenetre.barre->setValue(faites);
            }, Qt::QueuedConnection);
            return !fenetre.arret_;
        });
        fini = true;
        QMetaObject::invokeMethod(&attente, &QEventLoop::quit, Qt::QueuedConnection);
    });
    {
        // The other windows keep painting; only Annuler takes the user's input.
        const RetenueEntrees retenue(fenetre.annuler);
        while (!fini)
            attente.exec();
    }
    // The progress updates still queued go with the window.
    QCoreApplication::removePostedEvents(&fenetre);
    fenetre.hide();

    QString absentes;
    if (!issue.absentes.isEmpty())
        absentes = QStringLiteral("\n\nManquant :\n") + issue.absentes.join(QLatin1Char('\n'));
    if (issue.arretee)
        return;
    if (!issue.reussie())
        systeme::boite(systeme::TypeBoite::Erreur,
                       QStringLiteral("La vidéo n'a pas pu être écrite : %1").arg(issue.erreur) + absentes);
    else
        systeme::boite(issue.absentes.isEmpty() ? systeme::TypeBoite::Information : systeme::TypeBoite::Avertissement,
                       QStringLiteral("La vidéo est enregistrée dans %1").arg(QDir::toNativeSeparators(sortie)) + absentes);
}
