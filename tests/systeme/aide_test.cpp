// The help window asked from a modal dialog is in front of it and not blocked by it.
#include "aide.h"
#include "ecran.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// The last of the blocked / unblocked events the window system sent the window.
class Blocage : public QObject {
public:
    bool bloquee = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::WindowBlocked || e->type() == QEvent::WindowUnblocked)
            bloquee = e->type() == QEvent::WindowBlocked;
        return false;
    }
};

TEST(Aide, DepuisUnDialogueModalElleEstDevantEtUtilisable)
{
    DossierTemporaire dossier;
    QFile f(dossier.chemin("DOC.HLP"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<p><a name=\"contexte8\">Mode</a></p>");
    f.close();
    Blocage blocage;
    systeme::fenetre_aide()->installEventFilter(&blocage);
    QDialog dialogue;
    dialogue.setWindowModality(Qt::ApplicationModal);
    dialogue.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialogue));
    systeme::montre_aide(dossier.chemin("DOC.HLP"), 8);
    QTest::qWait(50);
    EXPECT_TRUE(systeme::fenetre_aide()->isVisible());
    EXPECT_FALSE(blocage.bloquee);
    EXPECT_EQ(systeme::fenetre_aide()->windowHandle()->transientParent(), dialogue.windowHandle());
    dialogue.hide();
    systeme::fenetre_aide()->hide();
    systeme::fenetre_aide()->removeEventFilter(&blocage);
}

}  // namespace
