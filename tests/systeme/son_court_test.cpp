// Event sounds reach the sound server every time: a private PulseAudio server
// with a null sink is recorded while 20 short sounds are played 0.8 s apart.
#include "son_court.h"
#include "son_wav.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int kTaux = 8000;  // the recording's rate, mono 16 bits

// Where bursts of sound start in a recording, in milliseconds: 10 ms windows above a
// level, apart by at least 150 ms of quiet.
QList<int> salves(const QByteArray &pcm)
{
    const auto *e = reinterpret_cast<const qint16 *>(pcm.constData());
    const qsizetype n = pcm.size() / 2, fenetre = kTaux / 100;
    QList<int> debuts;
    int calme = 1000;
    for (qsizetype debut = 0; debut + fenetre <= n; debut += fenetre) {
        double somme = 0;
        for (qsizetype i = debut; i < debut + fenetre; ++i)
            somme += double(e[i]) * e[i];
        if (std::sqrt(somme / fenetre) > 500) {
            if (calme >= 15)
                debuts.append(int(debut * 1000 / kTaux));
            calme = 0;
        } else {
            ++calme;
        }
    }
    return debuts;
}

void attends(int millisecondes)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < millisecondes) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

}  // namespace

TEST(SonCourt, VingtSonsALaSuiteSontTousEntendus)
{
    const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
    const QString parec = QStandardPaths::findExecutable("parec");
    if (pulseaudio.isEmpty() || parec.isEmpty())
        GTEST_SKIP() << "pas de serveur de son : pulseaudio et parec (pulseaudio-utils) sont absents";
    QTemporaryDir dossier;
    ASSERT_TRUE(ecrit_fichier(dossier.filePath("bip.wav"), son_wav(200, {440, 22050, 1, 16})));
    const QString prise = dossier.filePath("prise");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", dossier.path());
    env.insert("PULSE_SERVER", "unix:" + prise);
    QProcess serveur;
    serveur.setProcessEnvironment(env);
    serveur.start(pulseaudio, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                               "--load=module-native-protocol-unix auth-anonymous=1 socket=" + prise,
                               "--load=module-null-sink sink_name=ecoute"});
    for (int i = 0; i < 100 && !QFile::exists(prise) && serveur.state() != QProcess::NotRunning; ++i)
        attends(50);
    if (!QFile::exists(prise)) {
        serveur.kill();
        serveur.waitForFinished();
        GTEST_SKIP() << "le serveur de son n'a pas pu démarrer : " << serveur.readAllStandardError().toStdString();
    }
    qputenv("PULSE_SERVER", ("unix:" + prise).toLocal8Bit());
    QProcess enregistreur;
    enregistreur.setProcessEnvironment(env);
    enregistreur.start(parec, {"-d", "ecoute.monitor", "--format=s16le", "--channels=1",
                               "--rate=" + QString::number(kTaux), "--latency-msec=20"});
    ASSERT_TRUE(enregistreur.waitForStarted());
    // The recording starts once the monitor hands its first samples.
    for (int i = 0; i < 250 && enregistreur.bytesAvailable() == 0; ++i)
        attends(20);
    ASSERT_GT(enregistreur.bytesAvailable(), 0) << "parec n'enregistre rien";
    attends(500);
    for (int i = 0; i < 20; ++i) {
        systeme::joue_son_court(dossier.filePath("bip.wav"));
        attends(800);
    }
    // parec hands over what it holds late: the end of the recording comes a while after.
    attends(2500);
    enregistreur.terminate();
    enregistreur.waitForFinished();
    serveur.terminate();
    serveur.waitForFinished();
    qunsetenv("PULSE_SERVER");
    const QByteArray pcm = enregistreur.readAllStandardOutput();
    const QList<int> debuts = salves(pcm);
    QStringList temps;
    for (const int t : debuts)
        temps << QString::number(t);
    EXPECT_EQ(20, debuts.size()) << temps.join(QLatin1Char(' ')).toStdString() << " in "
                                 << pcm.size() * 1000 / (2 * kTaux) << " ms recorded";
}
