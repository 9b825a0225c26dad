// The printed pages: the scenario of a slideshow, four slides a page (number,
// picture and sound paths, comment, a small copy of the picture), and a picture
// on its own. Painters are in tenths of a millimetre from the page's top-left
// corner, y downward.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

constexpr int kDiaposParPage = 4;
constexpr int kLignesCommentaire = 5;

// Pages of the scenario of `diapos` slides (slide 0 is not one).
int pages_scenario(int diapos);
// The slide printed in row `rangee` (0..3) of page `page` (from 1); 0 when there is none.
int diapo_de_la_rangee(int page, int rangee, int nombre_fiches);

// The page's title, frame, rows and column.
void dessine_cadre_scenario(QPainter &peintre, int page, int pages, const QString &nom_diaporama);
struct RangeeScenario {
    int numero = 0;
    QString image;
    QString son;
    QStringList lignes;  // the comment's wrapped lines
};
void dessine_rangee_scenario(QPainter &peintre, int rangee, const RangeeScenario &diapo);
// Where a picture of `image` pixels goes in row `rangee`: fitted into 650 x 650, centred.
QRect place_image_scenario(int rangee, QSize image);

// The comment as wrapped in a text box `largeur` pixels wide in `police`: its first lines.
QStringList lignes_commentaire(const QString &commentaire, const QFont &police, int largeur,
                               int nombre = kLignesCommentaire);

// A picture printed on its own: `echelle` times its size, centred on the page
// horizontally and vertically as asked, else 5 mm from the edges.
QRect place_image_imprimee(QSize image, double echelle, bool horizontal, bool vertical);
// Its path, centred under the picture.
void dessine_chemin_image(QPainter &peintre, const QString &chemin);
