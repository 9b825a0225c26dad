// Draws the program's own pictures and synthesises its sounds, then writes the
// sample slideshow that refers to them. Run once after a change:
//   build/assets/generateur/vista_generateur assets
// and commit what it writes.
#include "decor.h"
#include "icone.h"
#include "fichier_sli.h"
#include "sky.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdio>

namespace {

constexpr int LARGEUR = 640;
constexpr int HAUTEUR = 480;

// Fine grain, as a photograph has, so that the pictures do not look drawn.
void grain(QImage &image, int force, quint32 graine)
{
    QRandomGenerator hasard(graine);
    for (int y = 0; y < image.height(); ++y) {
        auto *ligne = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = int(hasard.bounded(2 * force + 1)) - force;
            const QRgb p = ligne[x];
            ligne[x] = qRgb(qBound(0, qRed(p) + d, 255), qBound(0, qGreen(p) + d, 255),
                            qBound(0, qBlue(p) + d, 255));
        }
    }
}

QImage plage()
{
    QImage image(LARGEUR, HAUTEUR, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ciel(0, 0, 0, 300);
    ciel.setColorAt(0, QColor(70, 40, 110));
    ciel.setColorAt(0.6, QColor(230, 110, 70));
    ciel.setColorAt(1, QColor(255, 200, 110));
    p.fillRect(0, 0, LARGEUR, 300, ciel);
    QRadialGradient soleil(320, 290, 70);
    soleil.setColorAt(0, QColor(255, 250, 210));
    soleil.setColorAt(0.5, QColor(255, 220, 120));
    soleil.setColorAt(1, QColor(255, 180, 90, 0));
    p.setBrush(soleil);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(320, 290), 70, 70);
    QLinearGradient mer(0, 290, 0, 380);
    mer.setColorAt(0, QColor(200, 100, 90));
    mer.setColorAt(1, QColor(40, 60, 110));
    p.fillRect(0, 290, LARGEUR, 90, mer);
    p.setPen(QPen(QColor(255, 210, 150, 160), 2));
    for (int i = 0; i < 14; ++i) {
        const int y = 296 + i * 6;
        const int demi = 40 + i * 12;
        p.drawLine(320 - demi, y, 320 + demi - 30, y);
    }
    QLinearGradient sable(0, 380, 0, HAUTEUR);
    sable.setColorAt(0, QColor(200, 160, 110));
    sable.setColorAt(1, QColor(150, 110, 70));
    p.fillRect(0, 380, LARGEUR, HAUTEUR - 380, sable);
    p.end();
    grain(image, 6, 1);
    return image;
}

QImage montagne()
{
    QImage image(LARGEUR, HAUTEUR, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ciel(0, 0, 0, HAUTEUR);
    ciel.setColorAt(0, QColor(60, 120, 200));
    ciel.setColorAt(1, QColor(200, 225, 245));
    p.fillRect(image.rect(), ciel);
    const QList<QPolygonF> sommets = {
        QPolygonF({{-20, 400}, {150, 140}, {330, 400}}),
        QPolygonF({{200, 400}, {420, 90}, {660, 400}}),
        QPolygonF({{420, 400}, {560, 200}, {700, 400}}),
    };
    const QColor roches[] = {QColor(110, 100, 110), QColor(90, 85, 100), QColor(120, 110, 115)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(roches[i]);
        p.drawPolygon(sommets[i]);
        const QPointF haut = sommets[i][1];
        QPolygonF neige({haut, haut + QPointF(-45, 70), haut + QPointF(-10, 55),
                         haut + QPointF(15, 75), haut + QPointF(45, 65)});
        p.setBrush(QColor(245, 248, 252));
        p.drawPolygon(neige);
    }
    QLinearGradient vallee(0, 360, 0, HAUTEUR);
    vallee.setColorAt(0, QColor(90, 150, 70));
    vallee.setColorAt(1, QColor(40, 90, 40));
    QPainterPath pre;
    pre.moveTo(0, 380);
    pre.cubicTo(200, 340, 420, 420, LARGEUR, 370);
    pre.lineTo(LARGEUR, HAUTEUR);
    pre.lineTo(0, HAUTEUR);
    p.fillPath(pre, vallee);
    return image;
}

QImage foret()
{
    QImage image(LARGEUR, HAUTEUR, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fond(0, 0, 0, HAUTEUR);
    fond.setColorAt(0, QColor(170, 210, 150));
    fond.setColorAt(1, QColor(60, 90, 40));
    p.fillRect(image.rect(), fond);
    QRandomGenerator hasard(7);
    for (int i = 0; i < 18; ++i) {
        const double x = hasard.bounded(LARGEUR);
        const double profondeur = 0.4 + 0.6 * i / 18.0;
        const double largeur = 14 * profondeur;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(int(90 * profondeur), int(60 * profondeur), int(30 * profondeur)));
        p.drawRect(QRectF(x - largeur / 2, 200 - 60 * profondeur, largeur, 300));
        p.setBrush(QColor(int(30 + 40 * profondeur), int(90 + 60 * profondeur), int(30 + 20 * profondeur)));
        p.drawEllipse(QPointF(x, 180 - 60 * profondeur), 60 * profondeur, 80 * profondeur);
    }
    p.end();
    grain(image, 4, 3);
    return image;
}

QImage ville()
{
    QImage image(LARGEUR, HAUTEUR, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient nuit(0, 0, 0, HAUTEUR);
    nuit.setColorAt(0, QColor(10, 15, 45));
    nuit.setColorAt(1, QColor(50, 40, 90));
    p.fillRect(image.rect(), nuit);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 235, 200));
    p.drawEllipse(QPointF(520, 80), 34, 34);
    QRandomGenerator hasard(11);
    int x = 0;
    while (x < LARGEUR) {
        const int l = 40 + int(hasard.bounded(50));
        const int h = 120 + int(hasard.bounded(220));
        p.setBrush(QColor(25, 25, 40));
        p.drawRect(x, HAUTEUR - h, l - 4, h);
        p.setBrush(QColor(250, 210, 100));
        for (int fy = HAUTEUR - h + 10; fy < HAUTEUR - 10; fy += 16)
            for (int fx = x + 6; fx < x + l - 12; fx += 12)
                if (hasard.bounded(3) == 0)
                    p.drawRect(fx, fy, 6, 8);
        x += l;
    }
    return image;
}

// A mono 16-bit wave file: 22 050 samples a second.
QByteArray onde(const std::vector<qint16> &echantillons)
{
    const quint32 donnees = quint32(echantillons.size() * 2);
    QByteArray o;
    auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); o.append(b, 4); };
    auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); o.append(b, 2); };
    o.append("RIFF");
    u32(36 + donnees);
    o.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(44100);
    u16(2);
    u16(16);
    o.append("data");
    u32(donnees);
    for (qint16 e : echantillons)
        u16(quint16(e));
    return o;
}

// Notes with an exponential decay: `notes` holds (frequency, start second).
std::vector<qint16> carillon(const std::vector<std::pair<double, double>> &notes, double duree)
{
    std::vector<qint16> e(size_t(duree * 22050), 0);
    for (const auto &[frequence, debut] : notes)
        for (size_t i = size_t(debut * 22050); i < e.size(); ++i) {
            const double t = double(i) / 22050 - debut;
            const double v = 7000 * std::exp(-3.5 * t) * std::sin(2 * M_PI * frequence * t);
            e[i] = qint16(qBound(-32767.0, e[i] + v, 32767.0));
        }
    return e;
}

// A burst of noise shaped by an envelope: a match struck, a fire crackling.
std::vector<qint16> bruit(double duree, double attaque, double chute, quint32 graine)
{
    QRandomGenerator hasard(graine);
    std::vector<qint16> e(size_t(duree * 22050));
    double filtre = 0;
    for (size_t i = 0; i < e.size(); ++i) {
        const double t = double(i) / 22050;
        const double enveloppe = std::min(1.0, t / attaque) * std::exp(-chute * t);
        filtre = 0.7 * filtre + 0.3 * (hasard.generateDouble() * 2 - 1);
        const double crepitement = hasard.bounded(400) == 0 ? 3.0 : 1.0;
        e[i] = qint16(qBound(-32767.0, 12000 * enveloppe * filtre * crepitement, 32767.0));
    }
    return e;
}

}  // namespace

bool ecrit(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}

namespace {

QImage curseur_deplacement()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 9.5, 17, 13));
    p.setBrush(QColor(70, 120, 200));
    p.drawRect(QRectF(10.5, 12.5, 11, 7));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({{16, 1}, {12, 6}, {20, 6}}));
    p.drawPolygon(QPolygonF({{16, 31}, {12, 26}, {20, 26}}));
    return image;
}

// A bitmap resource: a 256-colour device-independent bitmap without file
// header, as the program's resource loader reads it.
bool ecrit_bitmap_ressource(const QString &chemin, const QImage &image)
{
    constexpr int ENTETE_FICHIER_BMP = 14;
    QImage indexee;
    QTemporaryDir dossier;
    const QString bmp = dossier.filePath(QStringLiteral("ressource.bmp"));
    if (!dossier.isValid() || !sky::succeeded(sky::toDepth(image, 8, false, indexee)) ||
        !sky::succeeded(sky::writeBmp(bmp, 8, indexee, {})))
        return false;
    QFile f(bmp);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return ecrit(chemin, f.readAll().mid(ENTETE_FICHIER_BMP));
}

// The trash can: 64 x 100 pictures on a plain background (its bottom-left
// pixel), which the can shows transparently.
constexpr int LARGEUR_POUBELLE = 64;
constexpr int HAUTEUR_POUBELLE = 100;
const QColor FOND_POUBELLE(236, 236, 236);

// The wire basket, drawn over whatever burns inside it.
void panier(QPainter &p)
{
    const QPolygonF corps({{8, 50}, {56, 50}, {50, 97}, {14, 97}});
    QLinearGradient metal(8, 0, 56, 0);
    metal.setColorAt(0, QColor(110, 115, 125));
    metal.setColorAt(0.35, QColor(215, 220, 228));
    metal.setColorAt(1, QColor(85, 90, 100));
    p.setPen(QPen(QColor(50, 52, 60), 1.2));
    p.setBrush(metal);
    p.drawPolygon(corps);
    p.setPen(QPen(QColor(70, 74, 84, 170), 1));
    for (int i = 1; i < 6; ++i) {
        const double haut = 8 + i * 8, bas = 14 + i * 6;
        p.drawLine(QPointF(haut, 53), QPointF(bas, 95));
    }
    p.setPen(QPen(QColor(50, 52, 60), 1.2));
    p.setBrush(QColor(160, 165, 175));
    p.drawRoundedRect(QRectF(5, 46, 54, 6), 3, 3);
    p.drawRoundedRect(QRectF(12, 94, 40, 4), 2, 2);
}

// Slides thrown away: small frames with a picture in them, blackening as they burn.
void diapositives(QPainter &p, double hauteur, double brulure)
{
    const QColor couleurs[] = {QColor(70, 130, 200), QColor(230, 140, 60), QColor(80, 160, 80)};
    const double angles[] = {-18, 6, 24};
    const double x[] = {20, 31, 42};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(x[i], 50);
        p.rotate(angles[i]);
        const QRectF cadre(-9, -hauteur * (1 + 0.15 * i), 18, hauteur * (1 + 0.15 * i) + 4);
        const QColor papier = QColor(250, 250, 245);
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(brulure > 0 ? QColor::fromRgbF(papier.redF() * (1 - brulure), papier.greenF() * (1 - brulure),
                                                 papier.blueF() * (1 - brulure))
                               : papier);
        p.drawRect(cadre);
        if (brulure < 0.6) {
            p.setPen(Qt::NoPen);
            p.setBrush(couleurs[i].darker(100 + int(200 * brulure)));
            p.drawRect(cadre.adjusted(3, 3, -3, -std::max(3.0, cadre.height() / 2)));
        }
        p.restore();
    }
}

// A flame of height `hauteur` rising from the rim, its tongues moved by `graine`.
void flammes(QPainter &p, double hauteur, quint32 graine)
{
    QRandomGenerator hasard(graine);
    const QColor teintes[] = {QColor(200, 40, 20), QColor(250, 140, 20), QColor(255, 230, 90)};
    for (int couche = 0; couche < 3; ++couche) {
        const double echelle = 1.0 - 0.28 * couche;
        QPainterPath langue;
        langue.moveTo(10 + 6 * couche, 52);
        const int pointes = 4 - couche / 2;
        const double pas = (44 - 12.0 * couche) / pointes;
        for (int k = 0; k < pointes; ++k) {
            const double gauche = 10 + 6 * couche + k * pas;
            const double sommet = 50 - hauteur * echelle * (0.7 + 0.3 * hasard.generateDouble());
            const double derive = hasard.bounded(7.0) - 3.5;
            langue.cubicTo(gauche, 44, gauche + pas * 0.5 + derive, sommet + 12,
                           gauche + pas * 0.5 + derive, sommet);
            langue.cubicTo(gauche + pas * 0.5 + derive, sommet + 12, gauche + pas, 44, gauche + pas, 50);
        }
        langue.lineTo(10 + 6 * couche, 52);
        p.setPen(Qt::NoPen);
        p.setBrush(teintes[couche]);
        p.drawPath(langue);
    }
}

// Grey puffs of smoke, rising and thinning as the fire dies.
void fumee(QPainter &p, double montee, double densite)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const double y = 42 - montee - i * 7;
        const double x = 32 + (i % 2 ? 7 : -6) + montee * 0.2 * (i % 2 ? 1 : -1);
        p.setBrush(QColor(90, 90, 95, int(190 * densite * (1 - 0.18 * i))));
        p.drawEllipse(QPointF(x, y), 7 + i * 1.5, 5 + i);
    }
}

// Picture `numero` of the trash can: 13 full, 12 empty, 1 to 11 the fire
// catching, blazing and dying down to smoke.
QImage poubelle(int numero)
{
    QImage image(LARGEUR_POUBELLE, HAUTEUR_POUBELLE, QImage::Format_RGB32);
    image.fill(FOND_POUBELLE);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    constexpr double FEU[] = {0, 8, 18, 30, 42, 48, 46, 38, 26, 14, 6, 0};
    constexpr double FUMEE[] = {0, 0, 0, 0, 0, 0.2, 0.4, 0.6, 0.8, 0.9, 0.7, 0.45};
    if (numero == 13)
        diapositives(p, 18, 0);
    else if (numero >= 1 && numero <= 11) {
        if (numero <= 5)
            diapositives(p, 18 - 3 * numero, 0.18 * numero);
        fumee(p, 2 * numero, FUMEE[numero]);
        flammes(p, FEU[numero], quint32(20 + numero));
    }
    panier(p);
    return image;
}

QImage curseur_vide()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A hand, the forefinger raised: a full can, ready to be armed.
QImage curseur_main()
{
    QImage image = curseur_vide();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath main;
    main.addRoundedRect(QRectF(12, 3, 6, 18), 3, 3);
    for (int d = 0; d < 3; ++d)
        main.addRoundedRect(QRectF(17.5 + d * 4, 11 + d, 5, 10), 2.5, 2.5);
    main.addRoundedRect(QRectF(6, 13, 7, 5), 2.5, 2.5);
    main.addRoundedRect(QRectF(10, 15, 20, 13), 5, 5);
    p.setPen(QPen(Qt::black, 1.3));
    p.setBrush(Qt::white);
    p.drawPath(main.simplified());
    return image;
}

// A lit match: the can is armed.
QImage curseur_allumette()
{
    QImage image = curseur_vide();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 60, 20), 1));
    p.setBrush(QColor(225, 190, 120));
    p.save();
    p.translate(16, 18);
    p.rotate(35);
    p.drawRect(QRectF(-2, -3, 4, 17));
    p.setBrush(QColor(170, 20, 20));
    p.drawEllipse(QPointF(0, -4), 3, 3.5);
    p.restore();
    QPainterPath flamme;
    flamme.moveTo(12, 14);
    flamme.cubicTo(4, 10, 10, 4, 9, 0);
    flamme.cubicTo(16, 5, 18, 10, 12, 14);
    p.setPen(QPen(QColor(200, 60, 0), 1));
    p.setBrush(QColor(255, 190, 40));
    p.drawPath(flamme);
    return image;
}

// A red "no entry" ring: the can is empty.
QImage curseur_impossible()
{
    QImage image = curseur_vide();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 6));
    p.drawEllipse(QPointF(16, 16), 11, 11);
    p.setPen(QPen(QColor(200, 20, 20), 3.5));
    p.drawEllipse(QPointF(16, 16), 11, 11);
    p.drawLine(QPointF(8.5, 23.5), QPointF(23.5, 8.5));
    return image;
}

// The trash can's 13 pictures and its three cursors.
bool ecrit_poubelle(const QString &assets)
{
    QDir().mkpath(assets + QStringLiteral("/bitmaps"));
    bool ok = true;
    for (int numero = 1; numero <= 13; ++numero)
        ok = ok && ecrit_bitmap_ressource(assets + QStringLiteral("/bitmaps/POUBELLE%1.dib").arg(numero),
                                          poubelle(numero));
    const QString curseurs = assets + QStringLiteral("/curseurs/");
    return ok && curseur_main().save(curseurs + "pmain_haut.png") &&
           curseur_allumette().save(curseurs + "pallumette.png") &&
           curseur_impossible().save(curseurs + "pimpossible.png");
}

struct Diapo {
    const char *image;
    const char *commentaire;
    const char *son;
    qint32 couleur_texte;
    int style;
    int taille;
    const char *police;
    qint32 couleur_fond;
    bool transparent;
    int position;
};

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage : vista_generateur DOSSIER_ASSETS\n");
        return 2;
    }
    const QString assets = QString::fromLocal8Bit(argv[1]);
    const QString demo = assets + QStringLiteral("/demo/");
    QDir().mkpath(demo);
    QDir().mkpath(assets + QStringLiteral("/curseurs"));

    bool ok = sky::succeeded(sky::writeJpeg(demo + "PLAGE.JPG", 85, 0, 24, plage(), {})) &&
              sky::succeeded(sky::writePng(demo + "MONTAGNE.PNG", 24, false, montagne(), {})) &&
              sky::succeeded(sky::writeBmp(demo + "FORET.BMP", 8, foret(), {})) &&
              sky::succeeded(sky::writeGif(demo + "VILLE.GIF", 8, ville(), {}));
    ok = ok && ecrit(demo + "VAGUE.WAV", onde(carillon({{523.25, 0}, {659.25, 0.25}, {783.99, 0.5}}, 1.6)));
    ok = ok && ecrit(demo + "alumette.wav", onde(bruit(0.6, 0.01, 6, 5)));
    ok = ok && ecrit(demo + "feu.wav", onde(bruit(1.2, 0.2, 2, 9)));
    ok = ok && ecrit(demo + "stop.wav", onde(carillon({{392.0, 0}, {261.63, 0.15}}, 0.8)));
    ok = ok && curseur_deplacement().save(assets + "/curseurs/deplace_diapositive.png");
    ok = ok && ecrit_decor(assets, {plage(), montagne(), foret()});
    ok = ok && ecrit_poubelle(assets);
    ok = ok && ecrit_icone(assets);

    // The sample as it is found on the disc: its paths name the disc's folder,
    // and opening it moves them to the folder it is in.
    const Diapo diapos[] = {
        {"PLAGE.JPG", "Coucher de soleil sur la plage, un soir d'été", "VAGUE.WAV", 0x00FFFFFF,
         2, 24, "Times New Roman", 0x00401A10, false, 2},
        {"MONTAGNE.PNG", "Les sommets enneigés à l'aube", "", 0x00000000, 3, 20, "Arial",
         qint32(0x80000002u), true, 1},
        {"FORET.BMP", "Promenade en forêt : chênes, hêtres et fougères", "", 0x0000FFFF, 1, 18,
         "Arial", 0x00204020, false, 2},
        {"VILLE.GIF", "La ville illuminée, vue du pont – fin du diaporama", "VAGUE.WAV",
         0x0080FFFF, 4, 22, "Times New Roman", 0x00000000, false, 1},
    };
    const QString sli = demo + "DEMO_KV.SLI";
    QFile::remove(sli);
    ouvre_fichier_sli(sli);
    for (const Diapo &d : diapos) {
        const int k = ajoute_fiche();
        fiche.chemin_image.affecte(QStringLiteral("D:\\DEMO\\") + QString::fromUtf8(d.image));
        fiche.commentaire.affecte(QString::fromUtf8(d.commentaire));
        if (*d.son)
            fiche.chemin_son.affecte(QStringLiteral("D:\\DEMO\\") + QString::fromUtf8(d.son));
        fiche.couleur_texte = d.couleur_texte;
        fiche.style_texte = qint16(d.style);
        fiche.taille_texte = qint16(d.taille);
        fiche.police.affecte(QString::fromUtf8(d.police));
        fiche.couleur_fond = d.couleur_fond;
        fiche.fond_transparent = d.transparent;
        fiche.position_texte = qint16(d.position);
        ecrit_fiche(k);
    }
    ferme_fichier_sli();
    if (!ok) {
        std::fprintf(stderr, "vista_generateur : échec de l'écriture des fichiers\n");
        return 1;
    }
    return 0;
}
