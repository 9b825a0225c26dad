// The file-system controls: drive combo, folder list, file list and filter
// combo. Each emits its change signal only when the user or a linked control
// changes it; a folder that cannot be read is reported and the control keeps its state.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

// The mounted volumes.
class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget *parent = nullptr);
    QString Drive() const;
    // Selects the volume that holds `dossier`.
    void setDriveOf(const QString &dossier);
signals:
    void Change(const QString &racine);
};

// The current folder's ancestors, then its subfolders (indented); one click or a
// double click on an entry walks into it.
class TDirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget *parent = nullptr);
    QString Directory() const { return dossier_; }
    // False, with a box, when the folder cannot be read: the list stays as it was.
    bool setDirectory(const QString &dossier);
signals:
    void Change(const QString &dossier);

private:
    void entreeChoisie(QListWidgetItem *entree);
    QString dossier_;
};

// The files of a folder that match a mask, with a glyph for each kind of picture.
class TFileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TFileListBox(QWidget *parent = nullptr);
    QString Directory() const { return dossier_; }
    QString Mask() const { return masque_; }
    void setDirectory(const QString &dossier);
    void setMask(const QString &masque);
    void setMultiSelect(bool plusieurs);
    // The full path of the selected file (the first one of several), empty when none.
    QString FileName() const;
    QStringList FileNames() const;
    // Reads the folder again.
    void Update();
signals:
    void Change();

private:
    QString dossier_;
    QString masque_;
};

// Named masks: choosing one sets the linked file list's mask.
class TFilterComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFilterComboBox(QWidget *parent = nullptr);
    // "Name|mask|Name|mask..." pairs.
    void setFilter(const QString &filtre);
    QString Mask() const;
signals:
    void Change(const QString &masque);
};
