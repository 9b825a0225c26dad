// The launcher's fixed data: its files under the launcher's folder, the
// captions and titles in the four languages, the flags' languages and the
// layout of both windows (given in twips, 15 to a pixel).
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace lanceur {

inline constexpr int TWIPS_PAR_PIXEL = 15;
constexpr int pixels(int twips) { return twips / TWIPS_PAR_PIXEL; }

// The launcher's files, relative to its folder.
inline const QString SON_ACCUEIL = QStringLiteral("Tarvik1.wav");
inline const QString SON_CLIC = QStringLiteral("Tarvik2.wav");
inline const QString SON_SURVOL = QStringLiteral("Tarvik3.wav");
inline const QString ARCHIVE = QStringLiteral("Copy/Tarvik32.zip");
inline const QString INSTALLATION = QStringLiteral("Setup/Setup.exe");
inline const QString NOM_ARCHIVE_COPIEE = QStringLiteral("Tarvik32.zip");

inline const QString TITRE_LANCEUR = QStringLiteral("Tarvik'Tools 3.2");
inline const QString LANGUE_DE_DEPART = QStringLiteral("A");

// Sizes of the pictures, in pixels.
QSize taille_fond();
QSize taille_coin(int coin);
QSize taille_drapeau(int drapeau);
QSize taille_globe();

// The four corners of the background, in the order of their controls.
enum Coin { COIN_LANGUE = 0, COIN_COPIE = 1, COIN_INSTALLATION = 2, COIN_DEMO = 3 };
inline constexpr int NOMBRE_COINS = 4;
inline constexpr int AUCUN_COIN = 4;

inline constexpr int NOMBRE_DRAPEAUX = 5;
inline constexpr int AUCUN_DRAPEAU = 5;

// `dossier` followed by the platform's separator unless it already ends in one.
QString avec_separateur(const QString &dossier);

// Caption of corner `coin` in language `code` ("F", "A", "D", "E"); none for another code.
std::optional<QString> legende(const QString &code, int coin);
// Title of the folder chooser of the copy corner; empty for another code.
QString titre_copie(const QString &code);
// The demonstration program of the language, relative to the launcher's folder.
QString programme_demo(const QString &code);
// The language of the toolkit's own translations ("qtbase_" + it) for the code; English for another.
QString langue_qt(const QString &code);
// Language chosen by flag 0..4 (two flags give English).
QString langue_du_drapeau(int drapeau);

// Where the copy of the archive goes in the chosen folder.
QString cible_copie(const QString &dossier);

// Milliseconds the demonstration corner waits when clicked `msec` ms after a
// whole second: the clock is read in whole seconds, and the wait ends once it
// shows the start second plus 0.000017 day (1.47 s), that is 1 to 2 seconds.
int duree_attente(int msec);

// Caption of a corner: the rectangle at design time and whether it is right-aligned.
struct PlaceLegende {
    QRect rectangle;
    bool a_droite;
};
PlaceLegende place_legende(int coin);
// Offset of the yellow copy of a caption from the black one.
QPoint decalage_copie_jaune();
// Which side of the background a corner lies on.
bool coin_a_droite(int coin);
bool coin_en_bas(int coin);
// Place of corner `coin`'s highlight of size `taille` in a background of size `fond`.
QRect place_coin(int coin, QSize fond, QSize taille);

// The language window: its client size and each flag's top-left corner.
QSize taille_fenetre_langue();
QPoint place_drapeau(int drapeau);
QPoint place_globe();

}  // namespace lanceur
