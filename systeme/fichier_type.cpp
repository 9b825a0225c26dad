#include "fichier_type.h"

#include "erreurs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads `taille` bytes at `depuis`; a file that ends first raises "end of file".
void lit_exactement(int descripteur, char *octets, qint64 taille, qint64 depuis)
{
    qint64 lus = 0;
    while (lus < taille) {
        const ssize_t n = ::pread(descripteur, octets + lus, size_t(taille - lus), off_t(depuis + lus));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            erreurs::leve_errno(errno);
        if (n == 0)
            erreurs::leve(erreurs::FinDeFichier);
        lus += n;
    }
}

}  // namespace

FichierType::FichierType(int taille_fiche) : taille_fiche_(taille_fiche) {}

FichierType::~FichierType()
{
    if (ouvert())
        ::close(descripteur_);
}

bool FichierType::ouvre(const QString &chemin, bool lecture_seule)
{
    if (ouvert())
        ::close(descripteur_);
    descripteur_ = ::open(QFile::encodeName(chemin).constData(), (lecture_seule ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    position_ = 0;
    if (ouvert()) {
        struct stat etat {};
        if (::fstat(descripteur_, &etat) == 0 && !S_ISREG(etat.st_mode)) {
            ::close(descripteur_);
            descripteur_ = -1;
        }
    }
    return ouvert();
}

void FichierType::cree(const QString &chemin)
{
    if (ouvert())
        ::close(descripteur_);
    position_ = 0;
    if (chemin.isEmpty())
        erreurs::leve(erreurs::FichierIntrouvable);
    descripteur_ = ::open(QFile::encodeName(chemin).constData(),
                          O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (!ouvert())
        erreurs::leve_errno(errno);
}

void FichierType::ferme()
{
    verifie_ouvert();
    ::close(descripteur_);
    descripteur_ = -1;
}

void FichierType::verifie_ouvert() const
{
    if (!ouvert())
        erreurs::leve(erreurs::FichierNonOuvert);
}

qint64 FichierType::nombre() const
{
    verifie_ouvert();
    struct stat etat {};
    if (::fstat(descripteur_, &etat) != 0)
        erreurs::leve_errno(errno);
    return qint64(etat.st_size) / taille_fiche_;
}

void FichierType::positionne(qint64 indice)
{
    verifie_ouvert();
    if (indice < 0 || indice > nombre())
        erreurs::leve(erreurs::FinDeFichier);
    position_ = indice;
}

void FichierType::lit(void *fiche)
{
    verifie_ouvert();
    lit_exactement(descripteur_, static_cast<char *>(fiche), taille_fiche_, position_ * taille_fiche_);
    ++position_;
}

void FichierType::ecrit(const void *fiche)
{
    verifie_ouvert();
    const auto *octets = static_cast<const char *>(fiche);
    qint64 ecrits = 0;
    while (ecrits < taille_fiche_) {
        const ssize_t n = ::pwrite(descripteur_, octets + ecrits, size_t(taille_fiche_ - ecrits),
                                   off_t(position_ * taille_fiche_ + ecrits));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            erreurs::leve_errno(n < 0 ? errno : ENOSPC);
        ecrits += n;
    }
    ++position_;
}

QByteArray FichierType::toutes()
{
    QByteArray octets(nombre() * taille_fiche_, Qt::Uninitialized);
    lit_exactement(descripteur_, octets.data(), octets.size(), 0);
    return octets;
}

void FichierType::tronque()
{
    verifie_ouvert();
    if (::ftruncate(descripteur_, off_t(position_ * taille_fiche_)) != 0)
        erreurs::leve_errno(errno);
}

void remplace_fichier(const QString &chemin, const QByteArray &contenu)
{
    // A link stays a link: its target is the file replaced.
    const QFileInfo lien(chemin);
    const QString reel = lien.exists() ? lien.canonicalFilePath() : lien.absoluteFilePath();
    const QFileInfo info(reel);
    const QByteArray cible = QFile::encodeName(reel);
    QByteArray temporaire = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) +
                            ".XXXXXX";
    const int d = ::mkstemp(temporaire.data());
    if (d < 0) {
        const int numero = errno;
        if (numero == EACCES || numero == EPERM || numero == EROFS)
            throw erreurs::ErreurES(erreurs::AccesRefuse,
                                    QStringLiteral("Le dossier « %1 » n'accepte pas de nouveau fichier : "
                                                   "« %2 » n'a pas été modifié.")
                                        .arg(QDir::toNativeSeparators(info.absolutePath()), info.fileName()));
        erreurs::leve_errno(numero);
    }
    const auto abandonne = [&](int numero) {
        ::close(d);
        ::unlink(temporaire.constData());
        erreurs::leve_errno(numero);
    };
    struct stat etat {};
    if (::stat(cible.constData(), &etat) == 0) {
        ::fchmod(d, etat.st_mode & 07777);
        // Only the owner's own or root's change goes through; a file of another
        // owner then simply becomes the writer's, as any editor's save does.
        if (::fchown(d, etat.st_uid, etat.st_gid) != 0)
            errno = 0;
    }
    qsizetype ecrit = 0;
    while (ecrit < contenu.size()) {
        const ssize_t n = ::write(d, contenu.constData() + ecrit, size_t(contenu.size() - ecrit));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            abandonne(n < 0 ? errno : ENOSPC);
        ecrit += n;
    }
    if (::fsync(d) != 0)
        abandonne(errno);
    if (::close(d) != 0) {
        ::unlink(temporaire.constData());
        erreurs::leve_errno(errno);
    }
    if (::rename(temporaire.constData(), cible.constData()) != 0) {
        const int numero = errno;
        ::unlink(temporaire.constData());
        erreurs::leve_errno(numero);
    }
}
