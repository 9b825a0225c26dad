#include "progression.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProgressBar>

namespace {

// A tool window may be destroyed before the end of the run: its gauge then drops out.
struct JaugeSuivie {
    QPointer<QWidget> fenetre;
    QPointer<QProgressBar> jauge;
    bool masque_jauge_principale;
};

struct Jauges {
    QPointer<QWidget> principale;
    QPointer<QProgressBar> jauge_principale;
    QList<JaugeSuivie> outils;
    bool fin = false;
};

Jauges &jauges()
{
    static Jauges j;
    return j;
}

// Swallows the user's input while an image operation lets the windows repaint,
// so that no command runs in the middle of the operation.
class RetenueEntrees : public QObject {
public:
    RetenueEntrees() { qApp->installEventFilter(this); }
    ~RetenueEntrees() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *evenement) override
    {
        switch (evenement->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            return evenement->spontaneous();
        default:
            return false;
        }
    }
};

void remet_a_zero_si_pleine(QProgressBar *jauge)
{
    if (jauge && jauge->value() >= 100)
        jauge->setValue(0);
}

}  // namespace

void fixe_jauge_principale(QWidget *fenetre, QProgressBar *jauge)
{
    jauges().principale = fenetre;
    jauges().jauge_principale = jauge;
}

void ajoute_jauge(const JaugeFenetre &jauge)
{
    jauges().outils.append({jauge.fenetre, jauge.jauge, jauge.masque_jauge_principale});
}

void retire_jauges() { jauges().outils.clear(); }

void fixe_fin_application(bool fin) { jauges().fin = fin; }

int progression(int pourcentage)
{
    Jauges &j = jauges();
    if (j.fin)
        return 0;
    {
        // Input from the window system waits for the end of the operation; any that
        // reaches a window now is dropped.
        RetenueEntrees retenue;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    j.outils.removeIf([](const JaugeSuivie &outil) { return !outil.fenetre || !outil.jauge; });
    bool principale_masquee = false;
    for (const JaugeSuivie &outil : j.outils)
        if (outil.masque_jauge_principale && outil.fenetre->isVisible())
            principale_masquee = true;
    if (j.principale && j.jauge_principale && !principale_masquee)
        j.jauge_principale->setValue(pourcentage);
    for (const JaugeSuivie &outil : j.outils)
        if (outil.fenetre->isVisible())
            outil.jauge->setValue(pourcentage);
    remet_a_zero_si_pleine(j.jauge_principale);
    for (const JaugeSuivie &outil : j.outils)
        remet_a_zero_si_pleine(outil.jauge);
    return 1;
}
