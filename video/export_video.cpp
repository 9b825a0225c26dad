#include "export_video.h"

#include "animation.h"
#include "chemins.h"
#include "chronologie.h"
#include "dessin_diapo.h"
#include "duree_son.h"
#include "encodeur.h"
#include "imagefile.h"
#include "imagekinds.h"
#include "messagefile.h"
#include "picture.h"
#include "reduction.h"
#include "scrolling.h"
#include "son.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// A line of the list of what could not be shown or played.
QString manquant(int numero, const QString &chemin, const QString &raison)
{
    return QStringLiteral("Diapositive %1 : %2 (%3)").arg(numero).arg(QDir::toNativeSeparators(chemin), raison);
}

// What the player shows for a slide, read once; `absentes` gets what could not be shown.
struct Diapositive {
    ContenuDiapo contenu;
    ScrollingMessage message;
};

void prepare(Diapositive &d, const DiapoAExporter &diapo, const FicheDiapo &defauts, const ReglagesExport &r,
             int numero, QStringList &absentes)
{
    d.contenu.legende = legende_de(diapo.fiche, defauts);
    d.contenu.police_echec = r.police_echec;
    const QString &chemin = diapo.image;
    if (chemin.isEmpty())
        return;
    const QString nommee = QStringLiteral("\"") + chemin + QStringLiteral("\"\n");
    const auto absente = [&](const QString &raison) {
        d.contenu.echec = nommee + raison;
        absentes << manquant(numero, chemin, raison);
    };
    if (!fichier_present(chemin)) {
        absente(QStringLiteral("Cette photo n'existe plus"));
        return;
    }
    switch (KindOfPath(chemin)) {
    case ImageKind::TaggedMessage:
    case ImageKind::LineMessage:
        try {
            if (KindOfPath(chemin) == ImageKind::TaggedMessage) {
                if (ReadTaggedMessageFile(chemin, d.message.font, d.message.speed, d.message.text, d.message.background))
                    d.message.startHorizontal(r.taille, Qt::black);
            } else if (ReadLineMessageFile(chemin, d.message.font, d.message.speed, d.message.lines,
                                           d.message.background)) {
                d.message.startVertical(r.taille, Qt::black);
            }
        } catch (const MessageFileError &) {
            absente(QStringLiteral("Message défilant illisible"));
        }
        return;
    case ImageKind::Icon:
        d.contenu.image = LoadIconPicture(chemin).image();
        return;
    case ImageKind::Metafile:
        d.contenu.image = LoadMetafilePicture(chemin).image();
        return;
    case ImageKind::Picture: {
        QImage lue;
        QString echec;
        if (PrepareImageFile(PictureFormatOfPath(chemin)->format, chemin, ReadDepth(lAutoMatic, 24), true, lue,
                             r.taille, &echec))
            d.contenu.image = image_pour_ecran(lue, r.taille);
        else
            absente(echec.isEmpty() ? QStringLiteral("Image illisible") : echec);
        return;
    }
    case ImageKind::Resource:
    case ImageKind::Other: return;
    }
}

// The sound track: each slide's sound from its start, silence where none plays.
class PisteSon {
public:
    explicit PisteSon(EncodeurVideo &encodeur) : encodeur_(encodeur) {}

    // From now on `chemin` plays, the earlier sound stopped; false, silence then, when it cannot be opened.
    bool change(const QString &chemin, QString *erreur)
    {
        auto son = std::make_unique<SonDecode>();
        courant_.reset();
        if (!son->ouvre(chemin, erreur))
            return false;
        courant_ = std::move(son);
        return true;
    }

    // The track written up to sample `fin`.
    QString jusqu_a(int64_t fin)
    {
        constexpr int kMorceau = 4800;
        while (ecrits_ < fin) {
            const int n = int(std::min<int64_t>(kMorceau, fin - ecrits_));
            tampon_.assign(size_t(n) * 2, 0.f);
            if (courant_ && courant_->lit(tampon_.data(), n) < n)
                courant_.reset();
            if (QString e = encodeur_.ajoute_son(tampon_.data(), n); !e.isEmpty())
                return e;
            ecrits_ += n;
        }
        return {};
    }

private:
    EncodeurVideo &encodeur_;
    std::unique_ptr<SonDecode> courant_;
    std::vector<float> tampon_;
    int64_t ecrits_ = 0;
};

int64_t echantillon_de(int64_t image, int ips) { return image * FREQUENCE_SON / ips; }

}  // namespace

QList<DiapoAExporter> diapos_du_diaporama()
{
    QList<DiapoAExporter> diapos;
    for (int i = 1; i < nombre_fiches(); ++i) {
        DiapoAExporter d;
        d.fiche = copie_fiche(i);
        d.image = chemin_de_fiche(d.fiche.chemin_image.valeur());
        if (!d.fiche.chemin_son.est_vide())
            d.son = chemin_de_fiche(d.fiche.chemin_son.valeur());
        diapos.append(d);
    }
    return diapos;
}

namespace {

IssueExport exporte(const FicheDiapo &defauts, const QList<DiapoAExporter> &diapos, const QString &sortie,
                    const ReglagesExport &r, const std::function<bool(int, int)> &avance)
{
    IssueExport issue;
    if (diapos.isEmpty()) {
        issue.erreur = QStringLiteral("Le diaporama ne contient aucune diapositive");
        return issue;
    }
    // A sound slide waits as the player does: for the length the wave file's header gives.
    QList<double> durees;
    for (const DiapoAExporter &d : diapos)
        durees << (d.son.isEmpty() ? -1.0 : r.attendre_fin_son ? systeme::duree_son_wav(d.son) / 1000.0 : 0.0);
    const Chronologie temps = chronologie(durees, r.delai, r.attendre_fin_son);
    const int ips = r.images_par_seconde;
    const auto image_de = [ips](double t) { return int(std::lround(t * ips)); };
    const int total = image_de(temps.duree);

    // Written beside the output under a name of its own, renamed once complete.
    const QFileInfo cible(sortie);
    QTemporaryFile temporaire(cible.absolutePath() + QStringLiteral("/.") + cible.fileName() +
                              QStringLiteral(".XXXXXX"));
    if (!temporaire.open()) {
        const QString dossier = QDir::toNativeSeparators(cible.absolutePath());
        issue.erreur = cible.absoluteDir().exists()
                           ? QStringLiteral("Le dossier « %1 » n'accepte pas de nouveau fichier").arg(dossier)
                           : QStringLiteral("Le dossier « %1 » n'existe pas").arg(dossier);
        return issue;
    }
    EncodeurVideo encodeur;
    issue.erreur = encodeur.ouvre(temporaire.fileName(), sortie, r.taille, ips);
    if (!issue.erreur.isEmpty())
        return issue;
    PisteSon piste(encodeur);

    // Steps of the scrolling messages per frame, as the player's idle driver ticks them.
    const double pas_par_image = 1000.0 / (double(ips) * AnimationIdle::kIntervalMs);
    int faites = 0;
    for (int i = 0; i < diapos.size() && issue.reussie(); ++i) {
        const int debut = image_de(temps.diapos[i].debut);
        const int fin = image_de(temps.diapos[i].debut + temps.diapos[i].duree);
        Diapositive d;
        prepare(d, diapos[i], defauts, r, i + 1, issue.absentes);
        issue.erreur = piste.jusqu_a(echantillon_de(debut, ips));
        if (!diapos[i].son.isEmpty()) {
            QString pourquoi;
            if (!piste.change(diapos[i].son, &pourquoi)) {
                if (!fichier_present(diapos[i].son))
                    pourquoi = QStringLiteral("Ce son n'existe plus");
                issue.absentes << manquant(i + 1, diapos[i].son, pourquoi);
            }
        }
        d.contenu.message = &d.message;
        const bool defile = d.message.playing();
        QImage dessin;
        double pas = 0;
        // A still picture goes in a second at a time, to report progress and hear a stop.
        for (int k = debut; k < fin && issue.reussie();) {
            const int n = defile ? 1 : std::min(fin - k, ips);
            if (defile || dessin.isNull())
                dessin = dessine_diapo(r.taille, d.contenu);
            issue.erreur = encodeur.ajoute_image(dessin, n, k == debut);
            k += n;
            faites = k;
            for (pas += defile ? pas_par_image : 0; pas >= 1; pas -= 1) {
                d.message.horizontalStep();
                d.message.verticalStep(r.taille);
            }
            if (issue.erreur.isEmpty())
                issue.erreur = piste.jusqu_a(echantillon_de(k, ips));
            if (avance && !avance(faites, total))
                issue.arretee = true;
        }
    }
    if (issue.reussie())
        issue.erreur = encodeur.termine();
    if (!issue.reussie())
        return issue;
    temporaire.close();
    // What a new file of the user's gets, not the temporary file's private access.
    temporaire.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                              QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(temporaire.fileName()).constData(), QFile::encodeName(sortie).constData()) != 0) {
        issue.erreur = QStringLiteral("La vidéo ne peut pas être enregistrée sous %1").arg(QDir::toNativeSeparators(sortie));
        return issue;
    }
    temporaire.setAutoRemove(false);
    issue.duree = double(faites) / ips;
    return issue;
}

}  // namespace

IssueExport exporte_video(const FicheDiapo &defauts, const QList<DiapoAExporter> &diapos, const QString &sortie,
                          const ReglagesExport &r, const std::function<bool(int, int)> &avance)
{
    // Raised on a worker thread, nothing may escape: the temporary file goes with the stack.
    try {
        return exporte(defauts, diapos, sortie, r, avance);
    } catch (const std::bad_alloc &) {
        IssueExport issue;
        issue.erreur = QStringLiteral("Mémoire insuffisante");
        return issue;
    } catch (const std::exception &e) {
        IssueExport issue;
        issue.erreur = QString::fromUtf8(e.what());
        return issue;
    }
}
