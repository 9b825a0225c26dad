// Balloon hints: every widget's tooltip is shown as a comic-strip balloon laid
// over a copy of the screen. TDanHint, placed once on the main window, holds the
// settings and installs the balloon for the whole application; TNewHint is the
// balloon window.
#pragma once

#include "bulle.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QWidget>
#include <functional>

class TDanHint : public QObject {
    Q_OBJECT

public:
    explicit TDanHint(QObject *owner = nullptr);
    ~TDanHint() override;

    THintDirection HintDirection() const { return direction_; }
    void setHintDirection(THintDirection direction) { direction_ = direction; }
    QColor HintColor() const { return couleur_; }
    void setHintColor(const QColor &couleur) { couleur_ = couleur; }
    QColor HintShadowColor() const { return ombre_; }
    void setHintShadowColor(const QColor &couleur) { ombre_ = couleur; }
    const QFont &HintFont() const { return police_; }
    const QColor &HintFontColor() const { return couleur_police_; }
    // The next hint is drawn in this font and colour.
    void setHintFont(const QFont &police, const QColor &couleur);
    int HintPauseTime() const { return pause_; }
    // The delay, in milliseconds, before a tooltip shows.
    void setHintPauseTime(int millisecondes);

    // Called before each hint with the widget under the mouse; the direction it
    // chooses holds for that hint only.
    std::function<void(QWidget *HintControl, THintDirection &HintDirection)> OnSelectHintDirection;

    StyleBulle style_bulle() const;

    // The TDanHint in use: the first one created among those still alive.
    static TDanHint *premier();

private:
    THintDirection direction_ = hdUpRight;
    QColor couleur_;
    QColor ombre_;
    QFont police_;
    QColor couleur_police_;
    int pause_ = 600;
};

class TNewHint : public QWidget {
    Q_OBJECT

public:
    TNewHint();

    // The text rectangle for `texte` in the hint font, at the origin.
    QRect CalcHintRect(int largeur_max, const QString &texte) const;
    // Shows `texte` in a balloon at the mouse; only the size of `R`, the text
    // rectangle, counts. Does nothing while no TDanHint exists.
    void ActivateHint(const QRect &R, const QString &texte);
    // The direction of the balloon on show.
    THintDirection direction() const { return direction_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void recouvre_bulle_cachee();

    QImage copie_ecran_;
    QImage dessous_cache_;
    QRect place_cachee_;
    QElapsedTimer depuis_cache_;
    THintDirection direction_ = hdUpRight;
    StyleBulle style_;
};

// The application's balloon window, shared by every tooltip; null until a
// TDanHint has been created.
TNewHint *fenetre_bulle();

// While `sans` holds, the controls of the window `fenetre` show no balloon (nor
// the toolkit's own tooltip).
void sans_bulles(QWidget &fenetre, bool sans);
