#include "demarrage.h"

#include "Splash.h"
#include "application.h"
#include "ecran.h"
#include "main.h"
#include "script_systeme.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

template <class T>
T *fenetre()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *f = qobject_cast<T *>(w))
            return f;
    return nullptr;
}

// Follows the splash window through start-up: what exists when it shows and
// when it goes, and what is on the screen once the message loop runs.
class SuiviAccueil : public QObject {
public:
    bool montre = false, principale_avant = false, principale_a_sa_fin = false;
    bool boucle = false, accueil_dans_la_boucle = true;

protected:
    bool eventFilter(QObject *objet, QEvent *evenement) override
    {
        if (evenement->type() != QEvent::Show)
            return false;
        if (auto *splash = qobject_cast<TSplashForm *>(objet); splash && !montre) {
            montre = true;
            principale_avant = fenetre<TForm1>() != nullptr;
            connect(splash, &QObject::destroyed, this,
                    [this] { principale_a_sa_fin = fenetre<TForm1>() != nullptr; });
        }
        if (auto *principale = qobject_cast<TForm1 *>(objet); principale && !boucle) {
            boucle = true;
            // Runs once the message loop handles events.
            QTimer::singleShot(0, principale, [this, principale] {
                accueil_dans_la_boucle = fenetre<TSplashForm>() != nullptr;
                principale->close();
            });
        }
        return false;
    }
};

TEST(Demarrage, LAccueilPrecedeLesFenetresEtDisparaitAvantLaBoucle)
{
    DossierTemporaire dossier;
    ScriptSysteme script;  // the quit question is answered OK
    SuiviAccueil suivi;
    qApp->installEventFilter(&suivi);
    EXPECT_EQ(demarre_programme(static_cast<Application &>(*qApp), {QStringLiteral("vistarama")}), 0);
    qApp->removeEventFilter(&suivi);
    EXPECT_TRUE(suivi.montre);
    EXPECT_FALSE(suivi.principale_avant);
    EXPECT_TRUE(suivi.principale_a_sa_fin);
    EXPECT_TRUE(suivi.boucle);
    EXPECT_FALSE(suivi.accueil_dans_la_boucle);
    EXPECT_EQ(script.textes_boites(), QStringList({QStringLiteral("Désirez-vous quitter Slideshow V2.32")}));
}

}  // namespace
