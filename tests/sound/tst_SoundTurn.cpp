#include "sound/SoundTurn.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace kr31;

namespace {

// Writes its steps, named, into a log shared with the other output.
struct LoggingOutput : SoundOutput
{
    LoggingOutput(QStringList &log, const QString &name)
        : log(log)
        , name(name)
    {
    }
    void noteState() override {}
    void prepare() override { log << name + " prepare"; }
    void silence() override { log << name + " silence"; }
    void restore(bool) override {}
    // Names what the file holds, if there is one.
    bool play(const QString &path, QString *) override
    {
        QFile file(path);
        return log << name + " play" + (file.open(QIODevice::ReadOnly) ? " " + file.readAll() : QString()), true;
    }
    QStringList &log;
    QString name;
};

} // namespace

class TestSoundTurn : public QObject
{
    Q_OBJECT
private slots:
    // "A" stands for another process that plays first; "B" sends a transfer
    // (its turn taken at prepare, before it writes its sound file), or a
    // preview when the row's onWait starts with "A writes".
    void onePlaysAtATime_data()
    {
        QTest::addColumn<QString>("before"); // what A has done
        QTest::addColumn<QString>("onWait"); // what happens when B starts waiting
        QTest::addColumn<bool>("played");
        QTest::addColumn<QStringList>("log");

        const QStringList waits{"A prepare", "A play", "B waits"};
        QTest::newRow("nothing before") << "-" << "-" << true << QStringList{"B prepare", "B play", "B silence"};
        QTest::newRow("a sound before has ended")
            << "sound" << "-" << true << QStringList{"A play", "B prepare", "B play", "B silence"};
        // B prepares only once its turn has come: A's silence() comes first.
        QTest::newRow("a transfer keeps its turn until its silence")
            << "transfer" << "A silence" << true
            << waits + QStringList{"A silence", "B waited", "B prepare", "B play", "B silence"};
        // A preview writes its file before its turn, as A may write the same name meanwhile.
        QTest::newRow("a sound file written over while waiting")
            << "transfer" << "A writes, A silence" << true
            << waits + QStringList{"A silence", "B waited", "B play B's sound", "B silence"};
        QTest::newRow("stopped while waiting")
            << "transfer" << "B stop" << true << waits + QStringList{"B waited", "B prepare", "B silence"};
        QTest::newRow("gives up") << "transfer" << "-" << false
                                  << waits + QStringList{"B waited", "B prepare", "B silence"};
    }

    void onePlaysAtATime()
    {
        QFETCH(QString, before);
        QFETCH(QString, onWait);
        QFETCH(bool, played);
        QFETCH(QStringList, log);

        QTemporaryDir dir;
        const QString lock = dir.filePath("kr31-sound.lock");
        QStringList steps;
        LoggingOutput innerA(steps, "A"), innerB(steps, "B");
        SoundTurn a(innerA, {}, 0, lock);
        std::function<void()> act;
        SoundTurn b(
            innerB,
            [&](bool waiting) {
                steps << (waiting ? "B waits" : "B waited");
                if (waiting && act)
                    act();
            },
            300, lock);
        const QString sound = dir.filePath("Creat.WAV");
        const auto write = [&](const QByteArray &bytes) {
            QFile file(sound);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        };
        if (onWait.startsWith("A writes")) {
            write("B's sound");
            act = [&] {
                write("A's sound");
                a.silence();
            };
        } else if (onWait == "A silence") {
            act = [&] { a.silence(); };
        }
        else if (onWait == "B stop")
            act = [&] { b.stopPlaying(); };
        if (before == "transfer")
            a.prepare();
        QString error;
        QVERIFY(before == "-" || a.playTransfer("a.wav", 0, &error, nullptr));

        if (!onWait.startsWith("A writes"))
            b.prepare();
        QCOMPARE(b.playTransfer(sound, 0, &error, nullptr), played);
        b.silence();
        QCOMPARE(steps, log);
        QCOMPARE(error.contains(QStringLiteral("ほかの送信")), !played);
    }
};

QTEST_GUILESS_MAIN(TestSoundTurn)
#include "tst_SoundTurn.moc"
