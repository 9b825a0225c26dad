#include "tables.h"

#include <array>

namespace lanceur {

namespace {

constexpr int NOMBRE_LANGUES = 4;
constexpr std::array<char, NOMBRE_LANGUES> CODES = {'F', 'A', 'D', 'E'};

int langue(const QString &code)
{
    if (code.size() != 1)
        return -1;
    for (int i = 0; i < NOMBRE_LANGUES; ++i)
        if (code[0] == QLatin1Char(CODES[i]))
            return i;
    return -1;
}

// Captions by corner, then by language in the order of CODES.
const char *const LEGENDES[NOMBRE_COINS][NOMBRE_LANGUES] = {
    {"Langue", "Language", "Sprache", "Idioma"},
    {"Copier", "Copy", "Kopieren", "Copiar"},
    {"Installer", "Setup", "Installieren", "Instalar"},
    {"Démo", "Demo", "Vorführung", "Demo"},
};

const char *const TITRES_COPIE[NOMBRE_LANGUES] = {
    "Copier TARVIK32.ZIP vers :",
    "Copy TARVIK32.ZIP to :",
    "Kopieren TARVIK32.ZIP :",
    "Copiar TARVIK32.ZIP en :",
};

const char *const DEMOS[NOMBRE_LANGUES] = {
    "Demo/Francais.exe",
    "Demo/English.exe",
    "Demo/Deutsch.exe",
    "Demo/Espanol.exe",
};

const char *const LANGUES_DES_DRAPEAUX[NOMBRE_DRAPEAUX] = {"F", "D", "A", "E", "A"};

constexpr int SECONDE = 1000;

}  // namespace

QString avec_separateur(const QString &dossier)
{
    return dossier.endsWith(QLatin1Char('/')) ? dossier : dossier + QLatin1Char('/');
}

std::optional<QString> legende(const QString &code, int coin)
{
    const int l = langue(code);
    if (l < 0 || coin < 0 || coin >= NOMBRE_COINS)
        return std::nullopt;
    return QString::fromUtf8(LEGENDES[coin][l]);
}

QString titre_copie(const QString &code)
{
    const int l = langue(code);
    return l < 0 ? QString() : QString::fromUtf8(TITRES_COPIE[l]);
}

QString programme_demo(const QString &code)
{
    const int l = langue(code);
    return l < 0 ? QString() : QString::fromUtf8(DEMOS[l]);
}

QString langue_qt(const QString &code)
{
    static const char *const LANGUES_QT[NOMBRE_LANGUES] = {"fr", "en", "de", "es"};
    const int l = langue(code);
    return QString::fromLatin1(LANGUES_QT[l < 0 ? 1 : l]);
}

QString langue_du_drapeau(int drapeau)
{
    if (drapeau < 0 || drapeau >= NOMBRE_DRAPEAUX)
        return {};
    return QString::fromLatin1(LANGUES_DES_DRAPEAUX[drapeau]);
}

QString cible_copie(const QString &dossier) { return avec_separateur(dossier) + NOM_ARCHIVE_COPIEE; }

int duree_attente(int msec)
{
    // Read in whole seconds, the clock first shows start + 1.47 s or more two
    // seconds after the start second.
    return 2 * SECONDE - msec;
}

QSize taille_fond() { return {580, 459}; }

QSize taille_coin(int coin)
{
    static const QSize tailles[NOMBRE_COINS] = {{200, 226}, {238, 225}, {218, 229}, {164, 150}};
    return tailles[coin];
}

QSize taille_drapeau(int drapeau)
{
    static const QSize tailles[NOMBRE_DRAPEAUX] = {{46, 33}, {45, 33}, {46, 33}, {46, 33}, {46, 34}};
    return tailles[drapeau];
}

QSize taille_globe() { return {100, 100}; }

PlaceLegende place_legende(int coin)
{
    struct Twips { int gauche, haut, largeur, hauteur; bool a_droite; };
    static const Twips places[NOMBRE_COINS] = {
        {340, 900, 3345, 855, false},
        {4980, 900, 3270, 855, true},
        {320, 4600, 3660, 855, false},
        {4400, 5000, 3705, 855, true},
    };
    const Twips &p = places[coin];
    return {QRect(pixels(p.gauche), pixels(p.haut), pixels(p.largeur), pixels(p.hauteur)),
            p.a_droite};
}

QPoint decalage_copie_jaune() { return {pixels(30), pixels(30)}; }

bool coin_a_droite(int coin) { return coin == COIN_COPIE || coin == COIN_DEMO; }
bool coin_en_bas(int coin) { return coin == COIN_INSTALLATION || coin == COIN_DEMO; }

QRect place_coin(int coin, QSize fond, QSize taille)
{
    return {QPoint(coin_a_droite(coin) ? fond.width() - taille.width() : 0,
                   coin_en_bas(coin) ? fond.height() - taille.height() : 0),
            taille};
}

QSize taille_fenetre_langue() { return {pixels(2385), pixels(2610)}; }

QPoint place_drapeau(int drapeau)
{
    static const QPoint places[NOMBRE_DRAPEAUX] = {
        {60, 60}, {840, 60}, {1620, 60}, {420, 600}, {1260, 600}};
    return {pixels(places[drapeau].x()), pixels(places[drapeau].y())};
}

QPoint place_globe() { return {pixels(420), pixels(1080)}; }

}  // namespace lanceur
