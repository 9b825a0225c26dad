// The trash can's behaviour without its widget: what setting its state, a
// click and a tick of the burning animation change, and what the can then
// shows (picture, hint, screen cursor), plays and raises.
#pragma once

#include <QString>

// Screen cursors of the trash can.
constexpr int CURSEUR_POUBELLE_PLEINE = 101;  // "pmain_haut"
constexpr int CURSEUR_POUBELLE_ARMEE = 102;   // "pallumette"
constexpr int CURSEUR_POUBELLE_VIDE = 103;    // "pimpossible"

enum class BoutonPoubelle { Gauche, Droit, Autre };

// What a click asks of the widget: a sound of the sound folder to play (empty:
// none) and whether the removal of the slide was confirmed.
struct ReactionClic {
    QString son;
    bool suppression = false;
};

class EtatPoubelle {
public:
    // Bitmap resource names of the pictures.
    static QString image_pleine() { return QStringLiteral("poubelle13"); }
    static QString image_vide() { return QStringLiteral("poubelle12"); }
    static QString image_animation(int numero) { return QStringLiteral("poubelle%1").arg(numero); }

    // Full when a slide is on display. An empty can is never armed.
    void fixe_plein(bool plein);
    // Ignored while the can is empty; a right click counts only once armed.
    ReactionClic clic(BoutonPoubelle bouton);
    // One tick of the running animation; answers true when the picture changed.
    bool tic();

    bool plein() const { return plein_; }
    bool arme() const { return arme_; }
    bool anime() const { return anime_; }
    int compteur() const { return compteur_; }
    const QString &image() const { return image_; }
    const QString &bulle() const { return bulle_; }
    int curseur() const { return curseur_; }

private:
    void montre_armement();

    int compteur_ = 0;
    bool arme_ = false;
    bool plein_ = false;
    bool anime_ = false;
    QString image_ = image_pleine();
    QString bulle_ = QStringLiteral("LA POUBELLE EST VIDE");
    int curseur_ = CURSEUR_POUBELLE_VIDE;
};
