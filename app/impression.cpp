#include "impression.h"

#include "reduction.h"

#include <QPainter>
#include <QTextLayout>

namespace {

constexpr int kHauteurRangee = 650;
constexpr int kDroiteTextes = 1990;  // a millimetre inside the frame

// A font of `points` in the painter's tenths of a millimetre.
QFont times(int points, bool gras = false, bool italique = false, bool souligne = false)
{
    QFont police(QStringLiteral("Times New Roman"));
    police.setPixelSize(qRound(points * 254.0 / 72.0));
    police.setBold(gras);
    police.setItalic(italique);
    police.setUnderline(souligne);
    return police;
}

// Text with its top-left corner at (x, y).
void ecrit(QPainter &peintre, int x, int y, const QString &texte)
{
    peintre.drawText(QRect(x, y, 100000, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, texte);
}

// Text on one line inside `zone`: its font made smaller, down to two thirds of its
// size, until it fits; then cut in its middle.
void ecrit_dans(QPainter &peintre, const QRect &zone, int alignement, const QString &texte)
{
    const QFont police = peintre.font();
    QFont reduite = police;
    const int plus_petite = police.pixelSize() * 2 / 3;
    while (reduite.pixelSize() > plus_petite &&
           QFontMetrics(reduite, peintre.device()).horizontalAdvance(texte) > zone.width())
        reduite.setPixelSize(reduite.pixelSize() - 1);
    peintre.setFont(reduite);
    peintre.drawText(zone, alignement | Qt::TextSingleLine,
                     peintre.fontMetrics().elidedText(texte, Qt::ElideMiddle, zone.width()));
    peintre.setFont(police);
}

// Rectangles given as left, top, right, bottom.
void cadre(QPainter &peintre, int gauche, int haut, int droite, int bas)
{
    peintre.drawRect(QRect(QPoint(gauche, haut), QPoint(droite, bas)));
}

}  // namespace

int pages_scenario(int diapos) { return diapos <= 0 ? 0 : (diapos + kDiaposParPage - 1) / kDiaposParPage; }

int diapo_de_la_rangee(int page, int rangee, int nombre_fiches)
{
    const int k = (page - 1) * kDiaposParPage + rangee + 1;
    return k > 0 && k < nombre_fiches ? k : 0;
}

void dessine_cadre_scenario(QPainter &peintre, int page, int pages, const QString &nom_diaporama)
{
    peintre.setPen(Qt::black);
    peintre.setFont(times(16, true));
    ecrit(peintre, 50, 50, QStringLiteral("%1/%2 - DIAPORAMA : %3").arg(page).arg(pages).arg(nom_diaporama));
    peintre.setPen(QPen(Qt::black, 2, Qt::SolidLine));
    peintre.setBrush(Qt::NoBrush);
    cadre(peintre, 50, 200, 2000, 2800);
    cadre(peintre, 50, 201, 2000, 850);
    cadre(peintre, 50, 1500, 2000, 1501);
    cadre(peintre, 50, 2150, 2000, 2151);
    cadre(peintre, 700, 200, 701, 2800);
}

void dessine_rangee_scenario(QPainter &peintre, int rangee, const RangeeScenario &diapo)
{
    const int r = rangee * kHauteurRangee;
    peintre.setPen(Qt::black);
    peintre.setFont(times(12, true, true, true));
    ecrit(peintre, 750, r + 210, QStringLiteral("Diapositive n°%1").arg(diapo.numero));
    peintre.setFont(times(12, true));
    ecrit(peintre, 750, r + 350, QStringLiteral("L'image :"));
    ecrit(peintre, 750, r + 450, QStringLiteral("Le son :"));
    ecrit(peintre, 750, r + 550, QStringLiteral("Le commentaire :"));
    peintre.setFont(times(12));
    // The paths stay inside the frame (its right edge at 2000).
    ecrit_dans(peintre, QRect(1000, r + 350, kDroiteTextes - 1000, 100), Qt::AlignLeft | Qt::AlignTop, diapo.image);
    ecrit_dans(peintre, QRect(950, r + 450, kDroiteTextes - 950, 100), Qt::AlignLeft | Qt::AlignTop, diapo.son);
    peintre.setFont(times(10));
    for (int i = 0; i < diapo.lignes.size() && i < kLignesCommentaire; ++i)
        ecrit(peintre, 750, r + 600 + 50 * i, diapo.lignes[i]);
}

QRect place_image_scenario(int rangee, QSize image)
{
    const QSize taille = reduit(image, QSize(kHauteurRangee, kHauteurRangee)).taille;
    return {int((kHauteurRangee - taille.width()) * 0.5) + 50,
            int((kHauteurRangee - taille.height()) * 0.5) + 200 + rangee * kHauteurRangee, taille.width(),
            taille.height()};
}

QStringList lignes_commentaire(const QString &commentaire, const QFont &police, int largeur, int nombre)
{
    QTextLayout mise_en_page(commentaire, police);
    QTextOption option;
    // A word longer than the line is broken inside it.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    mise_en_page.setTextOption(option);
    QStringList lignes;
    mise_en_page.beginLayout();
    for (QTextLine ligne = mise_en_page.createLine(); ligne.isValid() && lignes.size() < nombre;
         ligne = mise_en_page.createLine()) {
        ligne.setLineWidth(largeur);
        lignes.append(commentaire.mid(ligne.textStart(), ligne.textLength()).trimmed());
    }
    mise_en_page.endLayout();
    return lignes;
}

QRect place_image_imprimee(QSize image, double echelle, bool horizontal, bool vertical)
{
    const int w = int(image.width() * echelle);
    const int h = int(image.height() * echelle);
    const int x = horizontal ? int((1950 - w) * 0.5) + 50 : 50;
    const int y = vertical ? int((2600 - h) * 0.5) + 50 : 50;
    return {x, y, w, h};
}

void dessine_chemin_image(QPainter &peintre, const QString &chemin)
{
    peintre.setPen(Qt::black);
    peintre.setFont(times(16, true));
    ecrit_dans(peintre, QRect(60, 2800, kDroiteTextes - 60, 200), Qt::AlignHCenter | Qt::AlignTop, chemin);
}
