// The contact sheet: the slides of the open slideshow as pages of twelve
// thumbnails with their file names. The user turns pages, picks a slide and
// confirms it (the editor then shows that slide), or right-clicks a thumbnail for
// the slide's information window. The mouse wheel turns the pages; Escape cancels. A page fills under the progress window.
#pragma once

#include "regles_planche.h"
#include "service_lecture.h"

#include <QDialog>
#include <array>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class TPMultiImage;
class Tinfo_diapo;
class Tjauge;

class TPlanche : public QDialog {
    Q_OBJECT

public:
    TPlanche(Tinfo_diapo *info, Tjauge *jauge, QWidget *parent = nullptr);

    // Set by a confirmed choice, cleared at each opening; the editor reads both after the sheet closes.
    bool choisi = false;
    // The record last read while filling a page; after a confirmed choice, the chosen slide.
    int curseur_fiche = 0;

    // Slots 1..12 at indices 1..12.
    std::array<QFrame *, VIGNETTES_PAR_PLANCHE + 1> cadre{};
    std::array<TPMultiImage *, VIGNETTES_PAR_PLANCHE + 1> image{};
    std::array<QLabel *, VIGNETTES_PAR_PLANCHE + 1> nom{};
    QToolButton *banque_precedente;
    QToolButton *BitBtn1;
    QLabel *planche_n;
    QPushButton *BitBtn3;
    QPushButton *BitBtn2;

    const NavigationPlanche &navigation() const { return navigation_; }

    // Shows the sheet; the slide the user chose, nothing when cancelled.
    std::optional<int> diapo_choisie();

    void FormShow();
    void affiche_planche();
    void affiche_image(int emplacement);
    void clear();
    void selection_image();
    // A mouse button went down on slot k.
    void fondMouseDown(int emplacement, Qt::MouseButton bouton);
    void BitBtn2Click();
    void BitBtn3Click();
    void Image4Click();
    void Image3Click();
    void affiche_detail();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void colore(int emplacement, qint32 couleur);

    Tinfo_diapo *info_;
    Tjauge *jauge_;
    NavigationPlanche navigation_;
    // The wheel's turn not yet made into a page (fine-stepped wheels send fractions of a notch).
    int roue_ = 0;
    // Whether slot k holds a picture loaded for its slide (its description is then worth showing).
    std::array<bool, VIGNETTES_PAR_PLANCHE + 1> charge_{};
    // The thumbnails' pictures read ahead.
    ServiceLecture vignettes_;
};
