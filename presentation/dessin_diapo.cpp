#include "dessin_diapo.h"

#include "attributs_texte.h"
#include "couleurs.h"
#include "scrolling.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// As a word-wrapped label lays out its text.
constexpr int kAlignementLegende = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

Legende legende_de(const FicheDiapo &diapo, const FicheDiapo &defauts)
{
    const FicheDiapo &source = defauts.toutes_diapos == 1 ? defauts : diapo;
    Legende l;
    l.texte = diapo.commentaire.valeur();
    l.police = police_de_fiche(source);
    l.couleur_texte = vers_qcolor(source.couleur_texte);
    l.couleur_fond = vers_qcolor(source.couleur_fond);
    l.transparente = source.fond_transparent != 0;
    l.en_haut = source.position_texte == 1;
    return l;
}

QRect place_legende(const Legende &legende, QSize ecran)
{
    const QFontMetrics mesure(legende.police);
    const int hauteur = legende.texte.isEmpty()
                            ? mesure.height()
                            : mesure.boundingRect(QRect(0, 0, ecran.width(), 2000), kAlignementLegende,
                                                  legende.texte).height();
    return QRect(0, legende.en_haut ? 0 : ecran.height() - hauteur, ecran.width(), hauteur);
}

QRect zone_message_image(QSize ecran) { return QRect(QPoint(0, 0), ecran).adjusted(40, 40, -40, -40); }

void dessine_diapo(QPainter &peintre, QSize ecran, const ContenuDiapo &contenu)
{
    const QRect tout(QPoint(0, 0), ecran);
    if (contenu.message && contenu.message->playing()) {
        peintre.fillRect(tout, contenu.message->background);
        peintre.drawImage(contenu.message->textRect().topLeft(), contenu.message->textBitmap());
    } else {
        peintre.fillRect(tout, Qt::black);
        if (!contenu.image.isNull()) {
            const QSize taille = contenu.image.size();
            peintre.drawImage(QPoint((ecran.width() - taille.width()) / 2, (ecran.height() - taille.height()) / 2),
                              contenu.image);
        }
    }
    if (!contenu.echec.isEmpty()) {
        peintre.setFont(contenu.police_echec);
        peintre.setPen(Qt::white);
        peintre.drawText(zone_message_image(ecran), Qt::AlignCenter | Qt::TextWordWrap, contenu.echec);
    }
    const Legende &l = contenu.legende;
    const QRect bande = place_legende(l, ecran);
    if (!l.transparente)
        peintre.fillRect(bande, l.couleur_fond);
    peintre.setFont(l.police);
    peintre.setPen(l.couleur_texte);
    peintre.drawText(bande, kAlignementLegende, l.texte);
}

QImage dessine_diapo(QSize ecran, const ContenuDiapo &contenu)
{
    QImage image(ecran, QImage::Format_RGB32);
    QPainter peintre(&image);
    dessine_diapo(peintre, ecran, contenu);
    return image;
}
