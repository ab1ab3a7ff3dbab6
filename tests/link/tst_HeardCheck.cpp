#include "link/HeardCheck.h"
#include "link/Packets.h"
#include "sound/PulseSoundOutput.h"
#include "link/ToneBurst.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kr31;

namespace {

QByteArray silence(int n)
{
    return QByteArray(n, char(128));
}

int level(char s)
{
    return int(static_cast<unsigned char>(s));
}

// Each sample's level turned by f(level, position).
template<typename F>
QByteArray mapped(QByteArray sound, F f)
{
    for (qsizetype i = 0; i < sound.size(); ++i)
        sound[i] = char(std::clamp(f(level(sound[i]), i), 0, 255));
    return sound;
}

QByteArray scaled(const QByteArray &sound, double factor)
{
    return mapped(sound, [factor](int l, qsizetype) { return int(std::lround(128 + (l - 128) * factor)); });
}

// The sound taken to 44100 Hz and back, each step by linear interpolation.
QByteArray resampled(const QByteArray &sound)
{
    const auto convert = [](const QByteArray &in, double ratio) {
        QByteArray out(qsizetype(in.size() * ratio), '\0');
        for (qsizetype i = 0; i < out.size(); ++i) {
            const double at = i / ratio;
            const qsizetype a = std::min<qsizetype>(qsizetype(at), in.size() - 1);
            const qsizetype b = std::min<qsizetype>(a + 1, in.size() - 1);
            out[i] = char(std::lround(level(in[a]) + (level(in[b]) - level(in[a])) * (at - double(a))));
        }
        return out;
    };
    return convert(convert(sound, 44100.0 / 48000), 48000.0 / 44100);
}

// Another full-level square wave added to the whole recording, clipped as a mixer does.
QByteArray mixed(const QByteArray &sound)
{
    return mapped(sound, [](int l, qsizetype i) { return l + ((i / 37) % 2 ? 127 : -128); });
}

} // namespace

class TestHeardCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void verdicts_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("recording");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<int>("clipped");
        using V = heard::Verdict;
        for (int mode : {0, 2}) {
            const QList<std::tuple<const char *, V, int>> rows = {
                {"exact", V::Exact, 0},
                {"start clipped", V::Exact, 600},
                {"start clipped past the first byte", V::Cut, 0},
                {"nothing", V::Silent, 0},
                {"at 30 %", V::TooQuiet, 0},
                {"turned down to 30 % a third in", V::TooQuiet, 0},
                {"resampled", V::Reshaped, 0},
                {"mixed", V::Mixed, 0},
                {"broken off", V::Cut, 0},
                {"followed by another sound", V::Exact, 0},
            };
            for (const auto &[recording, verdict, clipped] : rows)
                QTest::addRow("mode %d, %s", mode, recording) << mode << QString::fromLatin1(recording) << int(verdict)
                                                             << clipped;
        }
    }
    void verdicts()
    {
        QFETCH(int, mode);
        QFETCH(QString, recording);
        QFETCH(int, verdict);
        QFETCH(int, clipped);
        const QByteArray sent = tone::transferSound(packet::alarmSound(3), [mode] { return mode; });
        const int allowance = heard::clipAllowance(mode);
        const QHash<QString, QByteArray> heardAs = {
            {"exact", silence(900) + sent + silence(300)},
            {"start clipped", sent.mid(600) + silence(300)},
            {"start clipped past the first byte", sent.mid(allowance + 1) + silence(300)},
            {"nothing", silence(sent.size() + 900)},
            {"at 30 %", silence(900) + scaled(sent, 0.3) + silence(300)},
            {"turned down to 30 % a third in",
             silence(900) + sent.left(sent.size() / 3) + scaled(sent.mid(sent.size() / 3), 0.3) + silence(300)},
            {"resampled", silence(900) + resampled(sent) + silence(300)},
            {"mixed", mixed(silence(900) + sent + silence(300))},
            {"broken off", silence(900) + sent.left(sent.size() * 3 / 4)},
            {"followed by another sound", silence(900) + sent + mixed(sent).right(5000)},
        };
        const heard::Result result = heard::compare(sent, heardAs.value(recording), allowance);
        QCOMPARE(int(result.verdict), verdict);
        QCOMPARE(result.clipped, clipped);
    }

    // The state file's lines of a sound server's output, and lines that must not be taken for them.
    void outputStateLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("taken");
        QTest::newRow("150 % and muted") << QStringList{"pulse", "output=p48", "volumes=98304,98304", "mute=1"} << true;
        QTest::newRow("one channel") << QStringList{"pulse", "output=alsa_output.pci", "volumes=0", "mute=0"} << true;
        QTest::newRow("another output's") << QStringList{"alsa", "output=p48", "volumes=1", "mute=0"} << false;
        QTest::newRow("volume not a number") << QStringList{"pulse", "output=p48", "volumes=1,x", "mute=0"} << false;
        QTest::newRow("no output") << QStringList{"pulse", "output=", "volumes=1", "mute=0"} << false;
        QTest::newRow("mute neither") << QStringList{"pulse", "output=p48", "volumes=1", "mute=2"} << false;
        QTest::newRow("cut short") << QStringList{"pulse", "output=p48"} << false;
    }
    void outputStateLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, taken);
        const auto state = PulseSoundOutput::stateOf(lines);
        QCOMPARE(state.has_value(), taken);
        if (state)
            QCOMPARE(PulseSoundOutput::stateLines(*state), lines);
        PulseSoundOutput output;
        QCOMPARE(output.adoptNoted(lines), taken);
        QCOMPARE(output.notedState(), taken ? lines : QStringList());
    }
};

QTEST_APPLESS_MAIN(TestHeardCheck)
#include "tst_HeardCheck.moc"
