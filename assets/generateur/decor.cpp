#include "decor.h"

#include "sky.h"

#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <QtMath>

namespace {

// The shared palette.
const QColor NUIT(16, 26, 51);
const QColor BLEU_NUIT(39, 64, 110);
const QColor CARTON(244, 238, 220);
const QColor CARTON_OMBRE(196, 186, 160);
const QColor OR(242, 179, 61);
const QColor ROUGE(217, 65, 43);
const QColor CIEL(74, 144, 217);
const QColor VERT(59, 165, 92);
const QColor TRAIT(32, 36, 44);

// A sunset over the sea, the scene seen through the logo's lens.
void coucher_de_soleil(QPainter &p, const QRectF &zone)
{
    QLinearGradient ciel(zone.topLeft(), zone.bottomLeft());
    ciel.setColorAt(0, QColor(70, 40, 120));
    ciel.setColorAt(0.55, QColor(240, 120, 70));
    ciel.setColorAt(0.56, QColor(60, 80, 140));
    ciel.setColorAt(1, QColor(20, 40, 90));
    p.fillRect(zone, ciel);
    QRadialGradient soleil(zone.center() + QPointF(0, zone.height() * 0.05), zone.width() * 0.22);
    soleil.setColorAt(0, QColor(255, 245, 200));
    soleil.setColorAt(0.6, QColor(255, 200, 90, 220));
    soleil.setColorAt(1, QColor(255, 160, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(soleil);
    p.drawEllipse(zone.center() + QPointF(0, zone.height() * 0.05), zone.width() * 0.22,
                  zone.width() * 0.22);
}

// A slide mount: a cream card with a window, drawn on a 100 x 100 square.
void cadre_diapositive(QPainter &p, const QRectF &carte, qreal arrondi)
{
    QLinearGradient carton(carte.topLeft(), carte.bottomRight());
    carton.setColorAt(0, CARTON);
    carton.setColorAt(1, CARTON_OMBRE);
    p.setPen(QPen(TRAIT, 1));
    p.setBrush(carton);
    p.drawRoundedRect(carte, arrondi, arrondi);
}

// The lens iris, `ouverture` from 0 (closed) to 1 (open), in a circle of radius
// `rayon`, its blades turned by `tour` degrees more.
void diaphragme(QPainter &p, QPointF centre, qreal rayon, qreal ouverture, qreal tour)
{
    QPainterPath objectif;
    objectif.addEllipse(centre, rayon, rayon);
    p.save();
    p.setClipPath(objectif);
    coucher_de_soleil(p, QRectF(centre.x() - rayon, centre.y() - rayon, 2 * rayon, 2 * rayon));

    const qreal r = rayon * (0.1 + 0.85 * ouverture);
    const qreal rotation = qDegreesToRadians(15 + 45 * ouverture + tour);
    QPolygonF trou;
    for (int i = 0; i < 6; ++i) {
        const qreal a = rotation + i * M_PI / 3;
        trou << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    QPainterPath ouvert;
    ouvert.addPolygon(trou);
    ouvert.closeSubpath();
    QRadialGradient metal(centre, rayon);
    metal.setColorAt(0, QColor(90, 96, 110));
    metal.setColorAt(1, QColor(30, 33, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawPath(objectif.subtracted(ouvert));
    // Each blade's edge runs on from a corner of the opening to the rim.
    p.setPen(QPen(QColor(150, 156, 170), rayon / 22));
    for (int i = 0; i < 6; ++i) {
        const QPointF coin = trou[i];
        const QPointF sens = coin - trou[(i + 5) % 6];
        p.drawLine(coin, coin + sens * (2 * rayon / std::hypot(sens.x(), sens.y())));
    }
    p.restore();
    p.setPen(QPen(TRAIT, rayon / 9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, rayon, rayon);
}

// One logo frame: a slide mount holding a lens whose iris opens and closes once
// over the thirteen frames (frame 1 closed) while its blades turn.
QImage image_logo(int cote, int numero)
{
    QImage image(cote, cote, QImage::Format_RGB32);
    image.fill(CARTON);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(cote / 100.0, cote / 100.0);
    cadre_diapositive(p, QRectF(0.5, 0.5, 99, 99), 8);
    p.setPen(QPen(TRAIT, 1.5));
    p.setBrush(NUIT);
    p.drawRoundedRect(QRectF(13, 13, 74, 74), 6, 6);
    const qreal ouverture = 0.5 - 0.5 * std::cos(2 * M_PI * (numero - 1) / 13.0);
    diaphragme(p, QPointF(50, 50), 33, ouverture, 60.0 * (numero - 1) / 13);
    return image;
}

// A device-independent bitmap without its file header, as resources are stored.
QByteArray dib(const QImage &image)
{
    QImage palette;
    if (!sky::succeeded(sky::toDepth(image.convertToFormat(QImage::Format_RGB888), 8, false, palette)))
        return {};
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("image.bmp"));
    if (!sky::succeeded(sky::writeBmp(chemin, 8, palette, {})))
        return {};
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().mid(14);
}

bool ecrit_dib(const QString &chemin, const QImage &image)
{
    const QByteArray octets = dib(image);
    return !octets.isEmpty() && ecrit(chemin, octets);
}

// A photograph in a slide mount, tilted by `angle` degrees, with its shadow.
void diapositive_posee(QPainter &p, const QImage &photo, QPointF centre, qreal cote, qreal angle)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF carte(-cote / 2, -cote / 2, cote, cote);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(carte.translated(4, 5), 5, 5);
    cadre_diapositive(p, carte, 5);
    const QRectF fenetre = carte.adjusted(cote * 0.14, cote * 0.2, -cote * 0.14, -cote * 0.2);
    p.drawImage(fenetre, photo);
    p.setPen(QPen(TRAIT, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(fenetre);
    p.restore();
}

// The night-blue ground of both windows, lit from the top left as by a projector.
void fond_de_scene(QPainter &p, QSize taille)
{
    QLinearGradient fond(0, 0, 0, taille.height());
    fond.setColorAt(0, BLEU_NUIT);
    fond.setColorAt(1, NUIT);
    p.fillRect(QRect(QPoint(0, 0), taille), fond);
    QRadialGradient faisceau(QPointF(0, 0), taille.width() * 0.9);
    faisceau.setColorAt(0, QColor(255, 240, 200, 70));
    faisceau.setColorAt(1, QColor(255, 240, 200, 0));
    p.fillRect(QRect(QPoint(0, 0), taille), faisceau);
}

// A strip of film along the bottom edge: `hauteur` pixels, perforated.
void pellicule(QPainter &p, QSize taille, int hauteur)
{
    const int haut = taille.height() - hauteur;
    p.fillRect(0, haut, taille.width(), hauteur, TRAIT);
    p.setPen(Qt::NoPen);
    p.setBrush(CARTON_OMBRE);
    for (int x = 4; x < taille.width(); x += 14)
        p.drawRoundedRect(QRectF(x, haut + hauteur / 2.0 - 3, 7, 6), 1.5, 1.5);
}

QImage fond_splash(const QList<QImage> &photos)
{
    const QSize taille(324, 200);
    QImage image(taille, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    fond_de_scene(p, taille);
    const qreal angles[] = {-14, 0, 14};
    const QPointF centres[] = {{104, 62}, {162, 52}, {220, 62}};
    for (int i = 0; i < 3 && i < photos.size(); ++i)
        diapositive_posee(p, photos[i], centres[i], 78, angles[i]);
    p.setPen(QPen(OR, 2));
    p.drawLine(QPointF(40, 168), QPointF(284, 168));
    return image;
}

QImage fond_a_propos()
{
    const QSize taille(324, 215);
    QImage image(taille, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    fond_de_scene(p, taille);
    // The information panel beside the logo, and a gold rule under the name.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawRoundedRect(QRectF(122.5, 8.5, 192, 88), 8, 8);
    p.setPen(QPen(OR, 2));
    p.drawLine(QPointF(40, 168), QPointF(284, 168));
    pellicule(p, taille, 16);
    return image;
}

// The toolbar glyphs, 24 x 24 (the mode pictures 32 x 32), outlined and lit alike.
QImage toile(int cote = 24)
{
    QImage image(cote, cote, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void peintre(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(TRAIT, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QBrush degrade(const QColor &couleur, qreal haut, qreal bas)
{
    QLinearGradient g(0, haut, 0, bas);
    g.setColorAt(0, couleur.lighter(135));
    g.setColorAt(1, couleur.darker(115));
    return g;
}

// A small picture: blue sky over a green hill, in a frame.
void vignette(QPainter &p, const QRectF &r)
{
    p.setBrush(degrade(CIEL, r.top(), r.bottom()));
    p.drawRect(r);
    QPainterPath colline;
    colline.moveTo(r.left(), r.bottom());
    colline.lineTo(r.left(), r.bottom() - r.height() * 0.3);
    colline.quadTo(r.center().x(), r.top() + r.height() * 0.3, r.right(), r.bottom() - r.height() * 0.35);
    colline.lineTo(r.right(), r.bottom());
    colline.closeSubpath();
    p.setBrush(VERT);
    p.drawPath(colline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void dossier(QPainter &p, bool ouvert)
{
    QPainterPath dos;
    dos.moveTo(2.5, 6.5);
    dos.lineTo(9.5, 6.5);
    dos.lineTo(11.5, 8.5);
    dos.lineTo(20.5, 8.5);
    dos.lineTo(20.5, 20.5);
    dos.lineTo(2.5, 20.5);
    dos.closeSubpath();
    p.setBrush(degrade(OR.darker(120), 6, 20));
    p.drawPath(dos);
    if (ouvert)
        p.drawPolygon(QPolygonF({{2.5, 20.5}, {6.5, 11.5}, {22.5, 11.5}, {19.5, 20.5}}));
    else
        p.drawRect(QRectF(2.5, 10.5, 18, 10));
}

QImage glyphe_ouvrir()
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    dossier(p, false);
    // The slide that comes out of the open folder.
    p.save();
    p.translate(13, 8);
    p.rotate(-12);
    p.setBrush(CARTON);
    p.drawRoundedRect(QRectF(-6, -6, 12, 12), 1.5, 1.5);
    vignette(p, QRectF(-3.5, -3.5, 7, 7));
    p.restore();
    p.setBrush(degrade(OR, 11, 20));
    p.drawPolygon(QPolygonF({{2.5, 20.5}, {6.5, 12.5}, {22.5, 12.5}, {19.5, 20.5}}));
    return image;
}

QImage glyphe_fermer()
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    dossier(p, false);
    p.setBrush(degrade(OR, 10, 20));
    p.drawRect(QRectF(2.5, 10.5, 18, 10));
    p.setBrush(degrade(ROUGE, 12, 23));
    p.drawEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.3, 15.3), QPointF(19.7, 19.7));
    p.drawLine(QPointF(19.7, 15.3), QPointF(15.3, 19.7));
    return image;
}

QImage glyphe_imprimer()
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));  // paper going in
    p.setBrush(degrade(QColor(150, 156, 170), 9, 18));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 2, 2);
    p.setBrush(VERT);
    p.drawEllipse(QPointF(18.5, 12.5), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 14.5, 13, 8));  // the printed page
    vignette(p, QRectF(8.5, 16.5, 7, 4));
    return image;
}

// A curved arrow from `depart` to `arrivee` bulging by `bosse`, with its head.
void fleche(QPainter &p, QPointF depart, QPointF arrivee, QPointF bosse, const QColor &couleur)
{
    QPainterPath courbe;
    courbe.moveTo(depart);
    courbe.quadTo(bosse, arrivee);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(TRAIT, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(courbe);
    p.setPen(QPen(couleur, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(courbe);
    const QPointF sens = arrivee - bosse;
    const qreal longueur = std::hypot(sens.x(), sens.y());
    const QPointF u = sens / longueur;
    const QPointF n(-u.y(), u.x());
    p.setPen(QPen(TRAIT, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(couleur);
    p.drawPolygon(QPolygonF({arrivee + u * 3.5, arrivee - u * 1.5 + n * 3.5, arrivee - u * 1.5 - n * 3.5}));
    p.restore();
}

QImage glyphe_convertir()
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    vignette(p, QRectF(1.5, 11.5, 9, 9));
    p.setBrush(CARTON);
    p.drawRect(QRectF(13.5, 11.5, 9, 9));
    p.save();
    p.translate(13.5, 11.5);
    p.setPen(Qt::NoPen);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            p.setBrush((x + y) % 2 ? ROUGE : CIEL);
            p.drawRect(QRectF(0.5 + 3 * x, 0.5 + 3 * y, 3, 3));
        }
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(13.5, 11.5, 9, 9));
    fleche(p, QPointF(5, 9), QPointF(17.5, 8), QPointF(11, 0), OR);
    return image;
}

// A sail and its reflection across a dashed axis: vertical for the mirror
// (left-right), horizontal for the flip (top-bottom).
QImage glyphe_reflet(bool miroir)
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    // Drawn for the mirror; the flip is the same drawing across the diagonal.
    auto place = [miroir](qreal x, qreal y) { return miroir ? QPointF(x, y) : QPointF(y, x); };
    const QPolygonF voile({place(10.5, 3.5), place(10.5, 19.5), place(2.5, 19.5)});
    const QPolygonF reflet({place(13.5, 3.5), place(13.5, 19.5), place(21.5, 19.5)});
    p.setBrush(degrade(CIEL, 3, 20));
    p.drawPolygon(voile);
    p.setBrush(QColor(CIEL.red(), CIEL.green(), CIEL.blue(), 100));
    p.drawPolygon(reflet);
    p.setPen(QPen(ROUGE, 1.2, Qt::DashLine));
    p.drawLine(place(12, 1), place(12, 23));
    return image;
}

QImage glyphe_lancer()
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    p.setBrush(degrade(VERT, 1, 23));
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{9, 6.5}, {18, 12}, {9, 17.5}}));
    return image;
}

// The navigation glyphs: a triangle pointing along `sens` (1 right, -1 left),
// with a bar at its tip for the first and last slides.
QImage glyphe_navigation(int sens, bool butee)
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    // Drawn pointing right, mirrored for the left.
    p.translate(sens > 0 ? 0 : 24, 0);
    p.scale(sens, 1);
    const qreal pointe = butee ? 16.5 : 19.5;
    p.setBrush(degrade(CIEL, 4, 20));
    p.drawPolygon(QPolygonF({{5.5, 4.5}, {pointe, 12}, {5.5, 19.5}}));
    if (butee) {
        p.setBrush(degrade(CIEL, 4, 20));
        p.drawRect(QRectF(17.5, 4.5, 3, 15));
    }
    return image;
}

QImage glyphe_sortir()
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    p.setBrush(degrade(ROUGE, 1, 23));
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 7.5, 9, 9));
    return image;
}

// The contact sheet's page turns: a sheet of four pictures and an arrow off its side.
QImage glyphe_planche(int sens)
{
    QImage image = toile();
    QPainter p(&image);
    peintre(p);
    p.translate(sens > 0 ? 0 : 24, 0);
    p.scale(sens, 1);
    p.setBrush(CARTON);
    p.drawRect(QRectF(1.5, 2.5, 14, 19));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            vignette(p, QRectF(3.5 + 6 * x, 4.5 + 8 * y, 4, 6));
    p.setBrush(degrade(OR, 7, 17));
    p.drawPolygon(QPolygonF({{14.5, 9.5}, {18.5, 9.5}, {18.5, 6.5}, {23, 12}, {18.5, 17.5},
                             {18.5, 14.5}, {14.5, 14.5}}));
    return image;
}

// The mode dialog's control devices, 32 x 32: the mouse and the arrow pad.
QImage image_souris()
{
    QImage image = toile(32);
    QPainter p(&image);
    peintre(p);
    p.scale(32 / 24.0, 32 / 24.0);
    p.setBrush(degrade(QColor(220, 222, 228), 4, 22));
    p.drawRoundedRect(QRectF(6.5, 4.5, 11, 17), 5.5, 5.5);
    p.drawLine(QPointF(6.5, 11.5), QPointF(17.5, 11.5));
    p.drawLine(QPointF(12, 4.5), QPointF(12, 11.5));
    p.setPen(Qt::NoPen);
    p.setBrush(CIEL);
    p.drawRoundedRect(QRectF(7, 5, 4.8, 6.3), 2.5, 2.5);
    p.drawRoundedRect(QRectF(12.2, 5, 4.8, 6.3), 2.5, 2.5);
    return image;
}

QImage image_pave()
{
    QImage image = toile(32);
    QPainter p(&image);
    peintre(p);
    p.scale(32 / 24.0, 32 / 24.0);
    p.setBrush(degrade(CIEL.darker(130), 6, 18));
    p.drawRoundedRect(QRectF(0.5, 6.5, 23, 11), 2, 2);
    p.setBrush(Qt::white);
    for (int k = 0; k < 4; ++k) {
        const qreal x = 3 + 5 * k;
        const int sens = k < 2 ? -1 : 1;
        p.drawPolygon(QPolygonF({{x + 2 + sens * 1.5, 12}, {x + 2 - sens * 1.5, 9.5}, {x + 2 - sens * 1.5, 14.5}}));
    }
    return image;
}

}  // namespace

bool ecrit_decor(const QString &assets, const QList<QImage> &photos)
{
    for (const char *dossier : {"/bitmaps", "/decor", "/glyphes"})
        QDir().mkpath(assets + QLatin1String(dossier));
    bool ok = true;
    for (int n = 1; n <= 13; ++n) {
        ok = ok && ecrit_dib(assets + QStringLiteral("/bitmaps/L%1.dib").arg(n), image_logo(100, n));
        ok = ok && ecrit_dib(assets + QStringLiteral("/bitmaps/SL%1.dib").arg(n), image_logo(19, n));
    }
    ok = ok && fond_splash(photos).save(assets + QStringLiteral("/decor/splash.png"));
    ok = ok && fond_a_propos().save(assets + QStringLiteral("/decor/a_propos.png"));
    const QList<QPair<const char *, QImage>> glyphes = {
        {"ouvrir", glyphe_ouvrir()},         {"fermer", glyphe_fermer()},
        {"imprimer", glyphe_imprimer()},     {"convertir", glyphe_convertir()},
        {"retourner", glyphe_reflet(false)}, {"miroir", glyphe_reflet(true)},
        {"lancer", glyphe_lancer()},
        {"sortir", glyphe_sortir()},
        {"premiere", glyphe_navigation(-1, true)},
        {"precedente", glyphe_navigation(-1, false)},
        {"suivante", glyphe_navigation(1, false)},
        {"derniere", glyphe_navigation(1, true)},
        {"planche_precedente", glyphe_planche(-1)},
        {"planche_suivante", glyphe_planche(1)},
        {"souris", image_souris()},
        {"pave", image_pave()},
    };
    for (const auto &[nom, image] : glyphes)
        ok = ok && image.save(assets + QStringLiteral("/glyphes/%1.png").arg(QLatin1String(nom)));
    return ok;
}
