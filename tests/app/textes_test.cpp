// Every text of every window of the program and of the launcher fits its control
// in French at the default font: labels, check boxes, radio buttons, push buttons,
// group titles and window captions beside the title bar's buttons.
#include "application.h"
#include "langue.h"
#include "main.h"
#include "ostrel.h"
#include "plateforme.h"
#include "boites.h"
#include "script_systeme.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString sans_raccourci(QString texte)
{
    return texte.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(
        QLatin1Char('\x01'), QLatin1Char('&'));
}

int largeur_texte(const QWidget &w, const QString &texte)
{
    int plus_large = 0;
    for (const QString &ligne : sans_raccourci(texte).split(QLatin1Char('\n')))
        plus_large = qMax(plus_large, w.fontMetrics().horizontalAdvance(ligne));
    return plus_large;
}

// The width a control's text needs and the width it has; {0, 0} for a control without text to check.
QPair<int, int> besoin_et_place(const QWidget &w)
{
    const QStyle *style = w.style();
    if (const auto *l = qobject_cast<const QLabel *>(&w)) {
        const bool riche = l->textFormat() == Qt::RichText ||
                           (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
        if (l->text().isEmpty() || l->wordWrap() || riche)
            return {};
        return {largeur_texte(w, l->text()), l->contentsRect().width() - 2 * l->margin() - qMax(0, l->indent())};
    }
    if (const auto *c = qobject_cast<const QCheckBox *>(&w))
        return {largeur_texte(w, c->text()) + style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &w) +
                    style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &w),
                w.width()};
    if (const auto *r = qobject_cast<const QRadioButton *>(&w))
        return {largeur_texte(w, r->text()) + style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &w) +
                    style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &w),
                w.width()};
    if (const auto *b = qobject_cast<const QPushButton *>(&w)) {
        if (b->text().isEmpty())
            return {};
        const int icone = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
        return {largeur_texte(w, b->text()) + icone + 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &w),
                w.width()};
    }
    if (const auto *g = qobject_cast<const QGroupBox *>(&w))
        return {g->title().isEmpty() ? 0 : largeur_texte(w, g->title()) + 8, g->title().isEmpty() ? 0 : w.width()};
    return {};
}

void verifie(QWidget &fenetre, QStringList &coupes)
{
    const QString nom = fenetre.objectName().isEmpty() ? QString::fromLatin1(fenetre.metaObject()->className())
                                                         : fenetre.objectName();
    for (QWidget *w : fenetre.findChildren<QWidget *>()) {
        if (w->isWindow() && w != &fenetre)
            continue;
        const auto [besoin, place] = besoin_et_place(*w);
        if (besoin > place)
            coupes << QStringLiteral("%1/%2 « %3 » : %4 pixels pour %5")
                          .arg(nom, w->objectName(), sans_raccourci(w->property("text").toString().isEmpty()
                                                                        ? w->property("title").toString()
                                                                        : w->property("text").toString()))
                          .arg(besoin)
                          .arg(place);
    }
    const Qt::WindowFlags drapeaux = fenetre.windowFlags();
    const bool barre_de_titre = !(drapeaux & Qt::FramelessWindowHint) && (drapeaux & Qt::WindowType_Mask) != Qt::ToolTip &&
                                (drapeaux & Qt::WindowType_Mask) != Qt::SplashScreen &&
                                (drapeaux & Qt::WindowType_Mask) != Qt::Popup;
    if (barre_de_titre && !fenetre.windowTitle().isEmpty()) {
        QFont gras = fenetre.font();
        gras.setBold(true);
        // The window manager's icon and margins, and each button the window asks for.
        const int boutons = bool(drapeaux & Qt::WindowCloseButtonHint) + bool(drapeaux & Qt::WindowMinimizeButtonHint) +
                            bool(drapeaux & Qt::WindowMaximizeButtonHint);
        const int besoin = QFontMetrics(gras).horizontalAdvance(fenetre.windowTitle()) + 30 + 27 * boutons;
        // A maximised window shows as wide as the screen.
        const int largeur = fenetre.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)
                                ? fenetre.screen()->availableGeometry().width()
                                : fenetre.width();
        if (besoin > largeur)
            coupes << QStringLiteral("%1 : légende « %2 » : %3 pixels pour %4")
                          .arg(nom, fenetre.windowTitle())
                          .arg(besoin)
                          .arg(largeur);
    }
}

TEST(Textes, ChaqueTexteDeChaqueFenetreTientDansSonControle)
{
    ScriptSysteme script;
    titre_application = QStringLiteral("Slideshow V2.32");
    QStringList coupes;
    {
        TForm1 forme;
        forme.showMaximized();
        for (QWidget *fenetre : QApplication::topLevelWidgets()) {
            // Laid out as when it shows.
            if (fenetre->layout())
                fenetre->layout()->activate();
            verifie(*fenetre, coupes);
        }
    }
    for (const systeme::TypeBoite type : {systeme::TypeBoite::Information, systeme::TypeBoite::Erreur,
                                          systeme::TypeBoite::Confirmation, systeme::TypeBoite::Avertissement}) {
        for (const QString &titre : {QString(), titre_application}) {
            systeme::Boite b;
            b.type = type;
            b.titre = titre;
            b.texte = QStringLiteral("Fini.");
            const auto box = systeme::boite_prete(b);
            box->layout()->activate();
            box->adjustSize();
            verifie(*box, coupes);
        }
    }
    QTemporaryDir disque;
    lanceur::plateforme().joue_son = [](const QString &) {};
    lanceur::Ostrel lanceur(disque.path());
    lanceur.Form_Load();
    verifie(lanceur, coupes);
    for (const char *code : {"F", "A", "D", "E"}) {
        lanceur::Langue langue(disque.path() + QLatin1Char('/'), QString::fromLatin1(code), &lanceur);
        verifie(langue, coupes);
    }
    lanceur::restaure_plateforme();
    EXPECT_TRUE(coupes.isEmpty()) << coupes.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
