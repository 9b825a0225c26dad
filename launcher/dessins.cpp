#include "dessins.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>

#include "tables.h"

namespace lanceur {

namespace {

const QColor OR_CLAIR(255, 236, 150);
const QColor OR_SOMBRE(190, 120, 30);

QPainter &peintre(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    return p;
}

// Corner buttons --------------------------------------------------------------

// The window corner a corner button grows from.
QPointF origine_coin(int coin)
{
    const QSize fond = taille_fond();
    return {coin_a_droite(coin) ? double(fond.width()) : 0.0,
            coin_en_bas(coin) ? double(fond.height()) : 0.0};
}

// The quarter ellipse of the button stays 8 pixels inside its corner's rectangle,
// so that its glow ends within the highlight picture.
constexpr int MARGE_LUEUR = 8;

QSizeF rayons_coin(int coin)
{
    const QSize taille = taille_coin(coin);
    return {double(taille.width() - MARGE_LUEUR), double(taille.height() - MARGE_LUEUR)};
}

// The icons are drawn with the pen already set and no brush.
void dessine_icone_globe(QPainter &p, QPointF centre, double r)
{
    p.drawEllipse(centre, r, r);
    p.drawEllipse(centre, r * 0.45, r);
    p.drawLine(QPointF(centre.x(), centre.y() - r), QPointF(centre.x(), centre.y() + r));
    p.drawLine(QPointF(centre.x() - r, centre.y()), QPointF(centre.x() + r, centre.y()));
    const double y = r * 0.55;
    const double demi = std::sqrt(r * r - y * y);
    p.drawLine(QPointF(centre.x() - demi, centre.y() - y), QPointF(centre.x() + demi, centre.y() - y));
    p.drawLine(QPointF(centre.x() - demi, centre.y() + y), QPointF(centre.x() + demi, centre.y() + y));
}

// An arrow from `r` above `centre` down to `bout` below it.
void dessine_fleche_descendante(QPainter &p, QPointF centre, double r, double bout)
{
    const QPointF pointe(centre.x(), centre.y() + r * bout);
    p.drawLine(QPointF(centre.x(), centre.y() - r), pointe);
    p.drawLine(pointe, pointe + QPointF(-r * 0.3, -r * 0.3));
    p.drawLine(pointe, pointe + QPointF(r * 0.3, -r * 0.3));
}

// A folder with an arrow going into it.
void dessine_icone_copie(QPainter &p, QPointF centre, double r)
{
    QPainterPath dossier;
    const double g = centre.x() - r, d = centre.x() + r, h = centre.y() - r * 0.3, b = centre.y() + r * 0.8;
    dossier.moveTo(g, b);
    dossier.lineTo(g, h - r * 0.25);
    dossier.lineTo(g + r * 0.7, h - r * 0.25);
    dossier.lineTo(g + r * 0.9, h);
    dossier.lineTo(d, h);
    dossier.lineTo(d, b);
    dossier.closeSubpath();
    p.drawPath(dossier);
    dessine_fleche_descendante(p, centre, r, 0.45);
}

// An open box with an arrow coming down into it.
void dessine_icone_installation(QPainter &p, QPointF centre, double r)
{
    const double g = centre.x() - r, d = centre.x() + r, h = centre.y(), b = centre.y() + r;
    p.drawRect(QRectF(QPointF(g, h), QPointF(d, b)));
    p.drawLine(QPointF(g, h), QPointF(g - r * 0.3, h - r * 0.35));
    p.drawLine(QPointF(d, h), QPointF(d + r * 0.3, h - r * 0.35));
    dessine_fleche_descendante(p, centre, r, 0.55);
}

// A screen showing the play sign.
void dessine_icone_demo(QPainter &p, QPointF centre, double r)
{
    p.drawRoundedRect(QRectF(centre.x() - r, centre.y() - r * 0.75, 2 * r, r * 1.3), 4, 4);
    p.drawLine(QPointF(centre.x() - r * 0.4, centre.y() + r * 0.85),
               QPointF(centre.x() + r * 0.4, centre.y() + r * 0.85));
    QPolygonF lecture;
    lecture << QPointF(centre.x() - r * 0.25, centre.y() - r * 0.4)
            << QPointF(centre.x() + r * 0.4, centre.y() - r * 0.1)
            << QPointF(centre.x() - r * 0.25, centre.y() + r * 0.2);
    p.setBrush(p.pen().color());
    p.drawPolygon(lecture);
}

struct Icone {
    void (*dessine)(QPainter &, QPointF, double);
    QPointF centre;
};

const Icone ICONES[NOMBRE_COINS] = {
    {dessine_icone_globe, {58, 160}},
    {dessine_icone_copie, {522, 160}},
    {dessine_icone_installation, {58, 400}},
    {dessine_icone_demo, {532, 420}},
};
constexpr double RAYON_ICONE = 24;

void dessine_bouton_coin(QPainter &p, int coin, bool allume)
{
    const QPointF origine = origine_coin(coin);
    const QSizeF rayons = rayons_coin(coin);
    const double rayon = std::max(rayons.width(), rayons.height());
    p.save();
    // The gradient is drawn in a space where the ellipse is a circle.
    p.translate(origine);
    p.scale(rayons.width() / rayon, rayons.height() / rayon);
    QRadialGradient remplissage(QPointF(0, 0), rayon);
    if (allume) {
        remplissage.setColorAt(0, QColor(235, 90, 40));
        remplissage.setColorAt(0.7, QColor(170, 40, 50));
        remplissage.setColorAt(1, QColor(110, 20, 60));
    } else {
        remplissage.setColorAt(0, QColor(40, 70, 130));
        remplissage.setColorAt(0.7, QColor(25, 45, 100));
        remplissage.setColorAt(1, QColor(18, 30, 80));
    }
    if (allume) {
        QPen lueur(QColor(255, 220, 120, 90), 10);
        p.setPen(lueur);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(0, 0), rayon, rayon);
    }
    p.setBrush(remplissage);
    p.setPen(QPen(allume ? OR_CLAIR : QColor(90, 120, 190), allume ? 3 : 2));
    p.drawEllipse(QPointF(0, 0), rayon, rayon);
    p.restore();

    const Icone &icone = ICONES[coin];
    QPen trait(allume ? QColor(255, 250, 225) : QColor(120, 150, 205), allume ? 4 : 3);
    trait.setCapStyle(Qt::RoundCap);
    trait.setJoinStyle(Qt::RoundJoin);
    p.setPen(trait);
    p.setBrush(Qt::NoBrush);
    icone.dessine(p, icone.centre, RAYON_ICONE);
}

void dessine_etoiles(QPainter &p)
{
    QRandomGenerator hasard(32);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 170; ++i) {
        const QPointF ou(hasard.bounded(taille_fond().width()), hasard.bounded(taille_fond().height()));
        const int eclat = 90 + int(hasard.bounded(160));
        p.setBrush(QColor(220, 230, 255, eclat));
        p.drawEllipse(ou, 0.6 + hasard.bounded(0.9), 0.6 + hasard.bounded(0.9));
    }
}

void dessine_titre(QPainter &p)
{
    const QSize taille = taille_fond();
    const QPointF centre(taille.width() / 2.0, taille.height() / 2.0);
    p.setPen(QPen(QColor(255, 220, 140, 60), 1.5));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(centre, 150.0 + 14 * i, 62.0 + 9 * i);

    QFont police(QStringLiteral("Times New Roman"));
    police.setPixelSize(56);
    police.setBold(true);
    police.setItalic(true);
    QPainterPath titre;
    titre.addText(0, 0, police, TITRE_LANCEUR.left(TITRE_LANCEUR.lastIndexOf(QLatin1Char(' '))));
    const QRectF boite = titre.boundingRect();
    titre.translate(centre.x() - boite.center().x(), centre.y() - 6 - boite.center().y());
    QLinearGradient dore(0, titre.boundingRect().top(), 0, titre.boundingRect().bottom());
    dore.setColorAt(0, OR_CLAIR);
    dore.setColorAt(0.55, QColor(240, 180, 60));
    dore.setColorAt(1, OR_SOMBRE);
    p.setPen(QPen(QColor(60, 30, 10), 2));
    p.setBrush(dore);
    p.drawPath(titre);

    police.setPixelSize(30);
    police.setItalic(false);
    QPainterPath version;
    version.addText(0, 0, police, TITRE_LANCEUR.mid(TITRE_LANCEUR.lastIndexOf(QLatin1Char(' ')) + 1));
    const QRectF b = version.boundingRect();
    version.translate(centre.x() - b.center().x(), titre.boundingRect().bottom() + 8 - b.top());
    QLinearGradient dore_version(0, version.boundingRect().top(), 0, version.boundingRect().bottom());
    dore_version.setColorAt(0, OR_CLAIR);
    dore_version.setColorAt(1, QColor(230, 160, 50));
    p.setPen(QPen(QColor(60, 30, 10), 1.2));
    p.setBrush(dore_version);
    p.drawPath(version);
}

QImage scene(int coin_allume)
{
    QImage image(taille_fond(), QImage::Format_RGB32);
    QPainter p(&image);
    peintre(p);
    QRadialGradient ciel(QPointF(image.width() / 2.0, image.height() / 2.0), 380);
    ciel.setColorAt(0, QColor(40, 56, 120));
    ciel.setColorAt(0.55, QColor(18, 26, 70));
    ciel.setColorAt(1, QColor(6, 8, 28));
    p.fillRect(image.rect(), ciel);
    dessine_etoiles(p);
    dessine_titre(p);
    for (int i = 0; i < NOMBRE_COINS; ++i)
        dessine_bouton_coin(p, i, i == coin_allume);
    return image;
}

// Flags ------------------------------------------------------------------------

void bandes_verticales(QPainter &p, QSize t, std::initializer_list<QColor> couleurs)
{
    int i = 0;
    const int n = int(couleurs.size());
    for (const QColor &c : couleurs) {
        p.fillRect(QRect(t.width() * i / n, 0, t.width() * (i + 1) / n - t.width() * i / n, t.height()), c);
        ++i;
    }
}

// Horizontal bands, each `parts` high out of the parts' sum.
void bandes_horizontales(QPainter &p, QSize t, std::initializer_list<std::pair<QColor, int>> bandes)
{
    int total = 0;
    for (const auto &b : bandes)
        total += b.second;
    int cumul = 0;
    for (const auto &[couleur, parts] : bandes) {
        const int haut = t.height() * cumul / total;
        cumul += parts;
        p.fillRect(QRect(0, haut, t.width(), t.height() * cumul / total - haut), couleur);
    }
}

void drapeau_etats_unis(QPainter &p, QSize t)
{
    const QColor rouge(178, 34, 52), bleu(60, 59, 110);
    for (int bande = 0; bande < 13; ++bande) {
        const int haut = t.height() * bande / 13;
        p.fillRect(QRect(0, haut, t.width(), t.height() * (bande + 1) / 13 - haut),
                   bande % 2 ? Qt::white : rouge);
    }
    const QRect canton(0, 0, t.width() * 2 / 5, t.height() * 7 / 13);
    p.fillRect(canton, bleu);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int ligne = 0; ligne < 5; ++ligne)
        for (int colonne = 0; colonne < 6 - ligne % 2; ++colonne)
            p.drawEllipse(QPointF(1.6 + colonne * 2.9 + (ligne % 2) * 1.45, 1.6 + ligne * 3.3), 0.75, 0.75);
}

void drapeau_royaume_uni(QPainter &p, QSize t)
{
    const QColor rouge(200, 16, 46), bleu(1, 33, 105);
    const double w = t.width(), h = t.height(), e = h / 30.0;  // the flag is 30 units high
    p.fillRect(QRect(QPoint(0, 0), t), bleu);
    p.setClipRect(QRect(QPoint(0, 0), t));
    p.setPen(QPen(Qt::white, 6 * e));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    p.setPen(QPen(rouge, 2 * e));
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(w, 0), QPointF(0, h));
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, h / 2 - 5 * e, w, 10 * e), Qt::white);
    p.fillRect(QRectF(w / 2 - 5 * e, 0, 10 * e, h), Qt::white);
    p.fillRect(QRectF(0, h / 2 - 3 * e, w, 6 * e), rouge);
    p.fillRect(QRectF(w / 2 - 3 * e, 0, 6 * e, h), rouge);
    p.setClipping(false);
}

void dessine_drapeau(QPainter &p, int indice, QSize t)
{
    switch (indice) {
    case 0:
        bandes_verticales(p, t, {QColor(0, 35, 149), Qt::white, QColor(237, 41, 57)});
        break;
    case 1:
        bandes_horizontales(p, t, {{Qt::black, 1}, {QColor(221, 0, 0), 1}, {QColor(255, 206, 0), 1}});
        break;
    case 2:
        drapeau_etats_unis(p, t);
        break;
    case 3:
        bandes_horizontales(p, t, {{QColor(170, 21, 27), 1}, {QColor(241, 191, 0), 2}, {QColor(170, 21, 27), 1}});
        break;
    case 4:
        drapeau_royaume_uni(p, t);
        break;
    }
}

// Globe and pointer ------------------------------------------------------------

void dessine_continents(QPainter &p, QPointF centre, double r)
{
    // Land masses as smooth blobs, each a closed curve through jittered points.
    QRandomGenerator hasard(7);
    struct Terre { double x, y, taille; };
    const Terre terres[] = {{-0.45, -0.35, 0.36}, {-0.2, 0.4, 0.3},   {0.35, -0.2, 0.4},
                            {0.5, 0.45, 0.2},    {0.05, -0.75, 0.16}, {-0.6, 0.1, 0.12},
                            {0.1, 0.15, 0.09},   {0.75, -0.1, 0.1}};
    QLinearGradient vert(0, centre.y() - r, 0, centre.y() + r);
    vert.setColorAt(0, QColor(120, 190, 90));
    vert.setColorAt(1, QColor(40, 110, 50));
    p.setBrush(vert);
    p.setPen(QPen(QColor(30, 80, 40), 1));
    for (const Terre &terre : terres) {
        QPainterPath chemin;
        const int n = 13;
        QList<QPointF> points;
        for (int i = 0; i < n; ++i) {
            const double angle = 2 * M_PI * i / n;
            const double rayon = r * terre.taille * (0.5 + hasard.bounded(0.8));
            points << QPointF(centre.x() + r * terre.x + rayon * std::cos(angle),
                              centre.y() + r * terre.y + rayon * 0.8 * std::sin(angle));
        }
        chemin.moveTo((points[n - 1] + points[0]) / 2);
        for (int i = 0; i < n; ++i)
            chemin.quadTo(points[i], (points[i] + points[(i + 1) % n]) / 2);
        p.drawPath(chemin);
    }
}

}  // namespace

QImage fond() { return scene(-1); }

QImage coin_allume(int coin)
{
    return scene(coin).copy(place_coin(coin, taille_fond(), taille_coin(coin)));
}

QImage drapeau(int indice, bool allume)
{
    const QSize t = taille_drapeau(indice);
    QImage image(t, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    dessine_drapeau(p, indice, t);
    p.setBrush(Qt::NoBrush);
    if (allume) {
        p.fillRect(image.rect(), QColor(255, 255, 255, 40));
        p.setPen(QPen(QColor(255, 255, 0), 2));
        p.drawRect(QRectF(image.rect()).adjusted(1, 1, -1, -1));
    } else {
        p.setPen(QColor(0, 0, 0, 160));
        p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    }
    return image;
}

QImage globe()
{
    const QSize t = taille_globe();
    QImage image(t, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    peintre(p);
    const QPointF centre(t.width() / 2.0, t.height() / 2.0);
    const double r = t.width() / 2.0 - 3;
    QRadialGradient ocean(centre - QPointF(r * 0.35, r * 0.35), r * 1.5);
    ocean.setColorAt(0, QColor(110, 170, 240));
    ocean.setColorAt(0.6, QColor(30, 80, 170));
    ocean.setColorAt(1, QColor(10, 25, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(ocean);
    p.drawEllipse(centre, r, r);

    QPainterPath sphere;
    sphere.addEllipse(centre, r, r);
    p.setClipPath(sphere);
    dessine_continents(p, centre, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (double k : {0.35, 0.7})
        p.drawEllipse(centre, r * k, r);
    p.drawLine(QPointF(centre.x(), centre.y() - r), QPointF(centre.x(), centre.y() + r));
    for (double k : {-0.5, 0.0, 0.5}) {
        const double y = centre.y() + k * r;
        const double demi = std::sqrt(r * r - (k * r) * (k * r));
        p.drawLine(QPointF(centre.x() - demi, y), QPointF(centre.x() + demi, y));
    }
    // Shade towards the lower right, shine at the upper left.
    QRadialGradient ombre(centre - QPointF(r * 0.3, r * 0.3), r * 1.6);
    ombre.setColorAt(0, QColor(255, 255, 255, 90));
    ombre.setColorAt(0.35, QColor(255, 255, 255, 0));
    ombre.setColorAt(0.75, QColor(0, 0, 20, 40));
    ombre.setColorAt(1, QColor(0, 0, 20, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(ombre);
    p.drawEllipse(centre, r, r);
    p.setClipping(false);
    p.setPen(QPen(QColor(200, 220, 255, 160), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r, r);
    return image;
}

QCursor pointeur()
{
    // A hand pointing up with its index finger; the hot spot is the fingertip.
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    peintre(p);
    QPainterPath main;
    main.addRoundedRect(QRectF(9, 1, 5, 18), 2.5, 2.5);    // index
    main.addRoundedRect(QRectF(13.5, 10, 5, 11), 2.5, 2.5);  // middle finger
    main.addRoundedRect(QRectF(18, 11, 5, 10), 2.5, 2.5);    // ring finger
    main.addRoundedRect(QRectF(22.5, 12.5, 4.5, 9), 2.2, 2.2);  // little finger
    main.addRoundedRect(QRectF(9, 16, 18, 13), 4, 4);        // palm
    QPainterPath pouce;
    pouce.moveTo(10, 24);
    pouce.lineTo(4, 17.5);
    pouce.quadTo(2.5, 15.5, 4.5, 14.5);
    pouce.quadTo(6, 14, 7.5, 15.5);
    pouce.lineTo(11, 19);
    pouce.closeSubpath();
    main = main.united(pouce).simplified();
    p.setPen(QPen(Qt::black, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(main);
    p.end();
    return QCursor(QPixmap::fromImage(image), 11, 1);
}

}  // namespace lanceur
