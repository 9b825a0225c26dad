#include "mpris.h"

#include "Moteur.h"

#include "chemins.h"
#include "config_sli.h"
#include "diaporama.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace {

const QString kChemin = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kNom = QStringLiteral("org.mpris.MediaPlayer2.vistarama");
const QString kInterfaceLecteur = QStringLiteral("org.mpris.MediaPlayer2.Player");

// org.mpris.MediaPlayer2: who the player is; Quit ends the show, not the program.
class RacineMpris : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    explicit RacineMpris(Mpris *mpris) : QDBusAbstractAdaptor(mpris), mpris_(*mpris) {}
    bool CanQuit() const { return true; }
    bool CanRaise() const { return false; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Vistarama"); }
    // The desktop file's name, assets/bureau/vistarama.desktop, without its extension.
    QString DesktopEntry() const { return QStringLiteral("vistarama"); }
    // Nothing can be opened from the bus.
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

public slots:
    void Raise() {}
    void Quit() { mpris_.arrete(); }

private:
    Mpris &mpris_;
};

// org.mpris.MediaPlayer2.Player: the moves, and the slide on screen as the track.
class LecteurMpris : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(bool CanGoNext READ CanControl)
    Q_PROPERTY(bool CanGoPrevious READ CanControl)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPlay)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    explicit LecteurMpris(Mpris *mpris) : QDBusAbstractAdaptor(mpris), mpris_(*mpris) {}
    QString PlaybackStatus() const { return mpris_.etat_lecture(); }
    // Slides are not played faster or slower, nor louder.
    double Rate() const { return 1.0; }
    double Volume() const { return 1.0; }
    QVariantMap Metadata() const { return mpris_.metadonnees(); }
    qlonglong Position() const { return mpris_.position(); }
    // Play and pause are the automatic show's timer.
    bool CanPlay() const { return mpris_.minuterie(); }
    bool CanSeek() const { return false; }
    bool CanControl() const { return true; }

public slots:
    void Next() { mpris_.suivante(); }
    void Previous() { mpris_.precedente(); }
    void Pause() { mpris_.pause(); }
    void PlayPause() { mpris_.lecture_pause(); }
    void Stop() { mpris_.arrete(); }
    void Play() { mpris_.lecture(); }
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath &, qlonglong) {}
    void OpenUri(const QString &) {}

signals:
    void Seeked(qlonglong position);

private:
    Mpris &mpris_;
};

}  // namespace

Mpris::Mpris(Tlance_diaporama &lecteur_) : lecteur(lecteur_)
{
    new RacineMpris(this);
    new LecteurMpris(this);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(kChemin, this, QDBusConnection::ExportAdaptors))
        return;
    // A second program showing at the same time takes a name of its own.
    for (const QString &candidat :
         {kNom, kNom + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (bus.registerService(candidat)) {
            nom = candidat;
            break;
        }
    }
    if (nom.isEmpty()) {
        bus.unregisterObject(kChemin);
        return;
    }
    annonce = {{QStringLiteral("PlaybackStatus"), etat_lecture()},
               {QStringLiteral("Metadata"), metadonnees()}};
    connect(&lecteur, &Tlance_diaporama::etat_change, this, &Mpris::signale_changements);
}

Mpris::~Mpris()
{
    if (nom.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(nom);
    bus.unregisterObject(kChemin);
}

QString Mpris::etat_lecture() const
{
    return minuterie() && lecteur.en_pause ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

QVariantMap Mpris::metadonnees() const
{
    const FicheDiapo diapo = Diaporama::courant().diapo(lecteur.diapo_courante);
    QVariantMap donnees{
        {QStringLiteral("mpris:trackid"),
         QVariant::fromValue(QDBusObjectPath(QStringLiteral("/vistarama/diapositive/%1").arg(lecteur.diapo_courante)))},
        {QStringLiteral("xesam:title"), diapo.commentaire.valeur()},
    };
    // A picture gone from the disc is no art to show.
    const QString image = chemin_de_fiche(diapo.chemin_image.valeur());
    if (!image.isEmpty() && QFileInfo::exists(image))
        donnees.insert(QStringLiteral("mpris:artUrl"),
                       QUrl::fromLocalFile(QFileInfo(image).absoluteFilePath()).toString(QUrl::FullyEncoded));
    return donnees;
}

bool Mpris::minuterie() const { return reglages.mode_defilement == 2; }

qint64 Mpris::position() const { return lecteur.duree_affichee() * 1000; }

bool Mpris::pilotable() const
{
    const QWidget *modale = QApplication::activeModalWidget();
    return lecteur.isVisible() && lecteur.isEnabled() && (!modale || modale == &lecteur);
}

void Mpris::suivante()
{
    if (pilotable())
        lecteur.deplace(Mouvement::Suivante);
}

void Mpris::precedente()
{
    if (pilotable())
        lecteur.deplace(Mouvement::Precedente);
}

void Mpris::lecture_pause()
{
    if (pilotable())
        lecteur.bascule_pause();
}

void Mpris::lecture()
{
    if (lecteur.en_pause)
        lecture_pause();
}

void Mpris::pause()
{
    if (!lecteur.en_pause)
        lecture_pause();
}

void Mpris::arrete()
{
    // After the answer: the show's end withdraws this object.
    QTimer::singleShot(0, &lecteur, [fenetre = &lecteur] {
        if (fenetre->isVisible())
            fenetre->sortirClick();
    });
}

void Mpris::signale_changements()
{
    QVariantMap changes;
    const QVariantMap maintenant{{QStringLiteral("PlaybackStatus"), etat_lecture()},
                                 {QStringLiteral("Metadata"), metadonnees()}};
    for (auto it = maintenant.cbegin(); it != maintenant.cend(); ++it)
        if (annonce.value(it.key()) != it.value())
            changes.insert(it.key(), it.value());
    annonce = maintenant;
    if (changes.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(kChemin, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kInterfaceLecteur << changes << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

#include "mpris.moc"
