// "Exporter en vidéo…": asks the video's name, writes the open slideshow there on
// the reading service's pool while a small window shows how far it has gone,
// with "Annuler" to stop it (nothing is then left behind), and tells in a box how
// it ended and which pictures or sounds were missing.
#pragma once

#include <QDialog>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

class TExportVideo : public QDialog {
    Q_OBJECT

public:
    explicit TExportVideo(QWidget *parent = nullptr);

    QLabel *etat;
    QProgressBar *barre;
    QPushButton *annuler;

    // The whole export of the open slideshow; `attendre_fin_son`: a slide with a
    // sound lasts until its sound has ended.
    static void exporte(QWidget *parent, bool attendre_fin_son);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    std::atomic_bool arret_{false};
};
