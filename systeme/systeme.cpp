#include "systeme.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QPrintDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QProcess>
#include <QPushButton>
#include <QAudioOutput>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QMediaPlayer>
#include <QUrl>
#include <QFileInfo>

#include "aide.h"
#include "barre_titre.h"
#include "boites.h"
#include "erreurs.h"
#include "son_court.h"

namespace systeme {

namespace {

QMessageBox::Icon icone(TypeBoite type)
{
    switch (type) {
    case TypeBoite::Information: return QMessageBox::Information;
    case TypeBoite::Erreur: return QMessageBox::Critical;
    case TypeBoite::Confirmation: return QMessageBox::Question;
    case TypeBoite::Avertissement: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

int boite_reelle(const Boite &b)
{
    const std::unique_ptr<QMessageBox> box = boite_prete(b);
    box->exec();
    const QAbstractButton *clique = box->clickedButton();
    return clique ? clique->property("reponse").toInt() : (b.boutons & Annuler) ? Annuler : OK;
}

// "Diaporama|*.sli|Images|*.bmp;*.jpg" -> "Diaporama (*.sli);;Images (*.bmp *.jpg)"
QString filtre_qt(const QString &filtre)
{
    const QStringList parts = filtre.split(QLatin1Char('|'));
    QStringList sortie;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString motifs = parts[i + 1];
        motifs.replace(QLatin1Char(';'), QLatin1Char(' '));
        sortie << QStringLiteral("%1 (%2)").arg(parts[i], motifs);
    }
    return sortie.join(QStringLiteral(";;"));
}

QString choisir_fichier_reel(const DemandeFichier &d)
{
    const std::unique_ptr<QFileDialog> dlg = dialogue_fichier(d);
    if (dlg->exec() != QDialog::Accepted || dlg->selectedFiles().isEmpty())
        return {};
    return dlg->selectedFiles().first();
}

}  // namespace

std::unique_ptr<QFileDialog> dialogue_fichier(const DemandeFichier &d)
{
    auto dlg = std::make_unique<QFileDialog>(d.parent, d.titre, d.dossier, filtre_qt(d.filtre));
    dlg->setOption(QFileDialog::DontUseNativeDialog);
    dlg->setAcceptMode(d.enregistrer ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::AnyFile);  // a new name creates a file
    // The name field starts with the name asked for, a pattern such as "*.sli" included.
    if (!d.nom.isEmpty()) {
        if (auto *nom = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nom->setText(d.nom);
        else
            dlg->selectFile(d.nom);
    }
    return dlg;
}

namespace {

// Set when the sound in the player has had its error shown: one box per sound.
bool erreur_son_montree = false;

QMediaPlayer *lecteur_diapo()
{
    static QMediaPlayer *lecteur = [] {
        auto *l = new QMediaPlayer(qApp);
        l->setAudioOutput(new QAudioOutput(l));
        QObject::connect(l, &QMediaPlayer::errorOccurred, l,
                         [l](QMediaPlayer::Error, const QString &texte) {
                             l->stop();
                             if (erreur_son_montree)
                                 return;
                             erreur_son_montree = true;
                             erreurs::erreur_generale(texte.isEmpty() ? l->errorString() : texte);
                         });
        return l;
    }();
    return lecteur;
}

void joue_son_diapo_reel(const QString &chemin)
{
    QMediaPlayer *lecteur = lecteur_diapo();
    lecteur->stop();
    const QFileInfo info(chemin);
    // The back end reports a missing file late, or not at all: it is told at once.
    if (!info.isFile() || !info.isReadable()) {
        lecteur->setSource(QUrl());
        erreurs::erreur_generale(QStringLiteral("Le son \"%1\" ne peut pas être ouvert").arg(chemin));
        return;
    }
    erreur_son_montree = false;
    lecteur->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    lecteur->play();
}

// The freedesktop screen saver's inhibition, when the desktop offers the service.
void suspend_economiseur_reel(bool suspendu)
{
    static quint32 jeton = 0;
    static bool tenu = false;
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service))
        return;
    QDBusInterface economiseur(service, QStringLiteral("/org/freedesktop/ScreenSaver"), service, bus);
    if (suspendu && !tenu) {
        const QDBusReply<quint32> reponse = economiseur.call(
            QStringLiteral("Inhibit"), QCoreApplication::applicationName(),
            QStringLiteral("Diaporama en cours"));
        tenu = reponse.isValid();
        jeton = tenu ? reponse.value() : 0;
    } else if (!suspendu && tenu) {
        economiseur.call(QStringLiteral("UnInhibit"), jeton);
        tenu = false;
    }
}

int choisir_source_reelle(const QStringList &sources, QWidget *parent)
{
    if (sources.isEmpty())
        return -1;
    bool ok = false;
    const QString choix = QInputDialog::getItem(parent, QStringLiteral("Sélection de la source"),
                                                QStringLiteral("Scanner :"), sources, 0, false, &ok);
    return ok ? int(sources.indexOf(choix)) : -1;
}

Seams defauts()
{
    Seams s;
    s.boite = boite_reelle;
    s.execute = [](QDialog &d) { return d.exec(); };
    s.choisir_fichier = choisir_fichier_reel;
    s.choisir_dossier = [](QWidget *parent, const QString &titre, const QString &depart) {
        return QFileDialog::getExistingDirectory(parent, titre, depart);
    };
    s.choisir_couleur = [](const QColor &initiale, QWidget *parent) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initiale, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    };
    s.choisir_police = [](const QFont &initiale, QWidget *parent) -> std::optional<QFont> {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, initiale, parent);
        if (!ok)
            return std::nullopt;
        return f;
    };
    s.joue_son = [](const QString &chemin, int) { joue_son_court(chemin); };
    s.joue_son_diapo = joue_son_diapo_reel;
    s.suspend_economiseur = suspend_economiseur_reel;
    s.configure_imprimante = [](QPrinter &printer, QWidget *parent) {
        QPrintDialog dlg(&printer, parent);
        return dlg.exec() == QDialog::Accepted;
    };
    s.aide = [](const QString &fichier, int contexte) { montre_aide(fichier, contexte); };
    s.lance_programme = [](const QString &programme, const QStringList &arguments,
                           const QString &dossier) {
        return QProcess::startDetached(programme, arguments, dossier);
    };
    s.choisir_source_scanner = choisir_source_reelle;
    return s;
}

}  // namespace

static Seams &defauts_courants()
{
    static Seams d = defauts();
    return d;
}

Seams &seams()
{
    static Seams installes = defauts_courants();
    return installes;
}

void restaure() { seams() = defauts_courants(); }

void garde_comme_defauts() { defauts_courants() = seams(); }

std::unique_ptr<QMessageBox> boite_prete(const Boite &b)
{
    auto box = std::make_unique<QMessageBox>(icone(b.type), b.titre.isEmpty() ? titre_boite(b.type) : b.titre,
                                             b.texte, QMessageBox::NoButton, QApplication::activeWindow());
    struct Choix { int bouton; const char *texte; QMessageBox::ButtonRole role; };
    const Choix choix[] = {{OK, "OK", QMessageBox::AcceptRole},
                           {Oui, "&Oui", QMessageBox::YesRole},
                           {Non, "&Non", QMessageBox::NoRole},
                           {Annuler, "Annuler", QMessageBox::RejectRole}};
    for (const Choix &c : choix)
        if (b.boutons & c.bouton)
            box->addButton(QString::fromUtf8(c.texte), c.role)->setProperty("reponse", c.bouton);
    // A short text would leave the caption cut beside the title bar's buttons.
    if (auto *grille = qobject_cast<QGridLayout *>(box->layout()))
        grille->addItem(new QSpacerItem(largeur_pour_legende(*box, 0), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                        grille->rowCount(), 0, 1, grille->columnCount());
    return box;
}

QString titre_boite(TypeBoite type)
{
    switch (type) {
    case TypeBoite::Information: return QStringLiteral("Information");
    case TypeBoite::Erreur: return QStringLiteral("Erreur");
    case TypeBoite::Confirmation: return QStringLiteral("Confirmation");
    case TypeBoite::Avertissement: return QStringLiteral("Avertissement");
    }
    return {};
}

int boite(TypeBoite type, const QString &texte, int boutons)
{
    Boite b;
    b.type = type;
    b.texte = texte;
    b.boutons = boutons;
    return seams().boite(b);
}

int execute(QDialog &dialogue) { return seams().execute(dialogue); }
QString choisir_fichier(const DemandeFichier &demande) { return seams().choisir_fichier(demande); }
QString choisir_dossier(QWidget *parent, const QString &titre, const QString &depart)
{
    return seams().choisir_dossier(parent, titre, depart);
}
std::optional<QColor> choisir_couleur(const QColor &initiale, QWidget *parent)
{
    return seams().choisir_couleur(initiale, parent);
}
std::optional<QFont> choisir_police(const QFont &initiale, QWidget *parent)
{
    return seams().choisir_police(initiale, parent);
}
void joue_son(const QString &chemin, int drapeaux) { seams().joue_son(chemin, drapeaux); }
void joue_son_diapo(const QString &chemin) { seams().joue_son_diapo(chemin); }
void suspend_economiseur(bool suspendu) { seams().suspend_economiseur(suspendu); }
bool configure_imprimante(QWidget *parent)
{
    return seams().configure_imprimante(imprimante(), parent);
}
void aide(const QString &fichier, int contexte) { seams().aide(fichier, contexte); }
bool lance_programme(const QString &programme, const QStringList &arguments, const QString &dossier)
{
    return seams().lance_programme(programme, arguments, dossier);
}
int choisir_source_scanner(const QStringList &sources, QWidget *parent)
{
    return seams().choisir_source_scanner(sources, parent);
}

QPrinter &imprimante()
{
    static QPrinter *printer = [] {
        auto *p = new QPrinter(QPrinter::HighResolution);
        p->setFullPage(true);  // coordinates from the paper's corner
        return p;
    }();
    return *printer;
}

void en_dixiemes_de_millimetre(QPainter &peintre)
{
    const QPaintDevice *device = peintre.device();
    peintre.resetTransform();
    peintre.scale(device->logicalDpiX() / 254.0, device->logicalDpiY() / 254.0);
}

namespace {

// The file of the n-th document (from 0) when the printer prints into `premier`.
QString fichier_du_document(const QString &premier, int n)
{
    if (n == 0)
        return premier;
    const QFileInfo info(premier);
    return info.dir().filePath(QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(n + 1).arg(info.suffix()));
}

// Without any printer the documents go to a PDF file the user names, asked at
// each printing. True when the destination is set; `demandee` says it was asked.
bool destination_choisie(QPrinter &printer, bool &demandee)
{
    demandee = false;
    if (!printer.outputFileName().isEmpty() || !QPrinterInfo::availablePrinters().isEmpty())
        return true;
    DemandeFichier demande;
    demande.titre = QStringLiteral("Imprimer dans un fichier PDF");
    demande.filtre = QStringLiteral("Document PDF|*.pdf");
    demande.nom = QStringLiteral("impression.pdf");
    demande.enregistrer = true;
    QString nom = choisir_fichier(demande);
    if (nom.isEmpty())
        return false;
    if (QFileInfo(nom).suffix().isEmpty())
        nom += QStringLiteral(".pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(nom);
    demandee = true;
    return true;
}

// True when none of the files the documents go to exists, or the user lets them be replaced.
bool remplacement_accepte(const QString &premier, int documents)
{
    QStringList existants;
    for (int n = 0; n < documents; ++n)
        if (QFileInfo::exists(fichier_du_document(premier, n)))
            existants << QFileInfo(fichier_du_document(premier, n)).fileName();
    if (existants.isEmpty())
        return true;
    const QString texte =
        existants.size() == 1
            ? QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?").arg(existants.first())
            : QStringLiteral("Les fichiers « %1 » existent déjà.\nVoulez-vous les remplacer ?")
                  .arg(existants.join(QStringLiteral(" », « ")));
    return boite(TypeBoite::Confirmation, texte, OK | Annuler) == OK;
}

}  // namespace

bool imprime_documents(int documents, const std::function<void(QPainter &, int)> &dessin)
{
    QPrinter &printer = imprimante();
    if (documents <= 0)
        return true;
    bool demandee = false;
    if (!destination_choisie(printer, demandee))
        return false;
    const QString premier = printer.outputFileName();
    // A name asked for is this printing's only: the next one asks again.
    const auto oublie_nom = qScopeGuard([&] { printer.setOutputFileName(demandee ? QString() : premier); });
    if (!premier.isEmpty() && !remplacement_accepte(premier, documents))
        return false;
    bool tous = true;
    for (int n = 0; n < documents; ++n) {
        if (!premier.isEmpty())
            printer.setOutputFileName(fichier_du_document(premier, n));
        QPainter peintre;
        if (!peintre.begin(&printer)) {
            tous = false;
            break;
        }
        en_dixiemes_de_millimetre(peintre);
        dessin(peintre, n);
        peintre.end();
    }
    return tous;
}

}  // namespace systeme
