#include "ControlesFichiers.h"

#include "imagefile.h"
#include "systeme.h"
#include "systeme_fichiers.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStorageInfo>

namespace {

constexpr int ROLE_CHEMIN = Qt::UserRole;

// A small sheet with the picture type's letters on a colour of its own.
QIcon glyphe_type(const QString &nom)
{
    static QHash<QString, QIcon> faits;
    const QString type = QFileInfo(nom).suffix().toUpper().left(3);
    if (const auto trouve = faits.constFind(type); trouve != faits.cend())
        return *trouve;
    // Each picture format a hue of its own, in the order of the library's table.
    QColor teinte(160, 160, 160);
    if (const int rang = FormatRankOfExtension(QLatin1Char('.') + type); rang >= 0)
        teinte = QColor::fromHsv(rang * 300 / FormatCount(), 170, 190);
    else if (type == QLatin1String("SCM"))
        teinte = QColor(90, 90, 90);
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter peintre(&p);
    peintre.setPen(Qt::black);
    peintre.setBrush(teinte);
    peintre.drawRect(1, 1, 13, 13);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(6);
    f.setBold(true);
    peintre.setFont(f);
    peintre.setPen(Qt::white);
    peintre.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, type);
    peintre.end();
    return faits[type] = QIcon(p);
}

void dossier_illisible(const QString &dossier)
{
    systeme::boite(systeme::TypeBoite::Erreur,
                   QStringLiteral("Le dossier \"%1\" ne peut pas être lu.").arg(dossier));
}

}  // namespace

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent)
{
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            addItem(volume.rootPath() == QLatin1String("/") ? QStringLiteral("/")
                                                            : volume.rootPath() + QStringLiteral(" [") +
                                                                  volume.displayName() + QLatin1Char(']'),
                    volume.rootPath());
    connect(this, &QComboBox::activated, this, [this] { emit Change(Drive()); });
}

QString TDriveComboBox::Drive() const { return currentData().toString(); }

void TDriveComboBox::setDriveOf(const QString &dossier)
{
    const int i = findData(QStorageInfo(dossier).rootPath());
    if (i >= 0)
        setCurrentIndex(i);
}

TDirectoryListBox::TDirectoryListBox(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, &TDirectoryListBox::entreeChoisie);
    connect(this, &QListWidget::itemDoubleClicked, this, &TDirectoryListBox::entreeChoisie);
}

void TDirectoryListBox::entreeChoisie(QListWidgetItem *entree)
{
    const QString dossier = entree->data(ROLE_CHEMIN).toString();
    if (dossier != dossier_ && setDirectory(dossier))
        emit Change(dossier_);
}

bool TDirectoryListBox::setDirectory(const QString &dossier)
{
    const QString propre = QDir::cleanPath(QFileInfo(dossier).absoluteFilePath());
    const std::optional<QStringList> dessous = sous_dossiers(propre);
    if (!dessous) {
        dossier_illisible(propre);
        return false;
    }
    dossier_ = propre;
    clear();
    const QStringList chaine = ancetres(propre);
    const QIcon ouvert = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon ferme = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (int i = 0; i < chaine.size(); ++i) {
        const QString nom = i == 0 ? chaine[i] : QFileInfo(chaine[i]).fileName();
        auto *entree = new QListWidgetItem(ouvert, QString(2 * i, QLatin1Char(' ')) + nom, this);
        entree->setData(ROLE_CHEMIN, chaine[i]);
        if (i == chaine.size() - 1)
            setCurrentItem(entree);
    }
    const QString retrait(2 * chaine.size(), QLatin1Char(' '));
    for (const QString &nom : *dessous) {
        auto *entree = new QListWidgetItem(ferme, retrait + nom, this);
        entree->setData(ROLE_CHEMIN, QDir(propre).filePath(nom));
    }
    return true;
}

TFileListBox::TFileListBox(QWidget *parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::Change);
}

void TFileListBox::setDirectory(const QString &dossier)
{
    dossier_ = dossier;
    Update();
}

void TFileListBox::setMask(const QString &masque)
{
    masque_ = masque;
    Update();
}

void TFileListBox::setMultiSelect(bool plusieurs)
{
    setSelectionMode(plusieurs ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void TFileListBox::Update()
{
    const std::optional<QStringList> noms = fichiers_du_dossier(dossier_, masque_);
    const QSignalBlocker silence(this);
    clear();
    if (!noms)
        return;
    for (const QString &nom : *noms)
        new QListWidgetItem(glyphe_type(nom), nom, this);
    setCurrentRow(-1);
    clearSelection();
}

QString TFileListBox::FileName() const
{
    const QStringList noms = FileNames();
    return noms.isEmpty() ? QString() : noms.first();
}

QStringList TFileListBox::FileNames() const
{
    QStringList chemins;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            chemins << QDir(dossier_).filePath(item(i)->text());
    return chemins;
}

TFilterComboBox::TFilterComboBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, [this] { emit Change(Mask()); });
}

void TFilterComboBox::setFilter(const QString &filtre)
{
    clear();
    const QStringList parties = filtre.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parties.size(); i += 2)
        addItem(parties[i], parties[i + 1]);
}

QString TFilterComboBox::Mask() const { return currentData().toString(); }
