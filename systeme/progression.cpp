#include "progression.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProgressBar>

namespace {

struct Jauges {
    QPointer<QWidget> principale;
    QPointer<QProgressBar> jauge_principale;
    QList<JaugeFenetre> outils;
    bool fin = false;
};

Jauges &jauges()
{
    static Jauges j;
    return j;
}

void remet_a_zero_si_pleine(QProgressBar *jauge)
{
    if (jauge && jauge->value() >= 100)
        jauge->setValue(0);
}

}  // namespace

RetenueEntrees::RetenueEntrees(QObject *permis) : permis_(permis) { qApp->installEventFilter(this); }

RetenueEntrees::~RetenueEntrees() { qApp->removeEventFilter(this); }

bool RetenueEntrees::eventFilter(QObject *objet, QEvent *evenement)
{
    if (permis_ && objet == permis_)
        return false;
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

void fixe_jauge_principale(QWidget *fenetre, QProgressBar *jauge)
{
    jauges().principale = fenetre;
    jauges().jauge_principale = jauge;
}

void ajoute_jauge(const JaugeFenetre &jauge) { jauges().outils.append(jauge); }

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
    j.outils.removeIf([](const JaugeFenetre &outil) { return !outil.fenetre || !outil.jauge; });
    bool principale_masquee = false;
    for (const JaugeFenetre &outil : j.outils)
        if (outil.masque_jauge_principale && outil.fenetre->isVisible())
            principale_masquee = true;
    if (j.principale && j.jauge_principale && !principale_masquee)
        j.jauge_principale->setValue(pourcentage);
    for (const JaugeFenetre &outil : j.outils)
        if (outil.fenetre->isVisible())
            outil.jauge->setValue(pourcentage);
    remet_a_zero_si_pleine(j.jauge_principale);
    for (const JaugeFenetre &outil : j.outils)
        remet_a_zero_si_pleine(outil.jauge);
    return 1;
}
