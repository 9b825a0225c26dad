#include "digital.h"

#include <QTimer>

namespace {

// The long time format with its time-zone fields and the spaces around them
// taken out; quoted text is kept as it is.
QString format_sans_fuseau(const QString &format)
{
    QString resultat;
    bool cite = false;
    for (const QChar c : format) {
        if (c == u'\'')
            cite = !cite;
        if (cite || c != u't')
            resultat += c;
    }
    return resultat.simplified();
}

}  // namespace

QString heure_longue(const QTime &heure, const QLocale &langue)
{
    return langue.toString(heure, format_sans_fuseau(langue.timeFormat(QLocale::LongFormat)));
}

THORLOGE_DIGITAL::THORLOGE_DIGITAL(QWidget *parent, std::function<QTime()> horloge, const QLocale &langue)
    : QLabel(parent), horloge_(std::move(horloge)), langue_(langue)
{
    setGeometry(560, 417, 80, 25);
    setFixedSize(80, 25);
    setFrameShape(QFrame::NoFrame);
    setMargin(1);
    setAlignment(Qt::AlignCenter);
    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &THORLOGE_DIGITAL::Timer1Timer);
    Timer1->start();
    Timer1Timer();
}

void THORLOGE_DIGITAL::Timer1Timer()
{
    setText(heure_longue(horloge_(), langue_));
}
