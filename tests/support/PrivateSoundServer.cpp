#include "support/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <ranges>

#include <sys/stat.h>

namespace kr31::test {

namespace {

constexpr char Silence = char(128);
const QStringList Sinks{QStringLiteral("p48"), QStringLiteral("p44")};

// Percent of a pactl volume object ({"front-left": {"value": 65536, ...}, ...}), -1 when the channels differ.
int percentOf(const QJsonValue &volume)
{
    QSet<int> percents;
    for (const QJsonValue &channel : volume.toObject())
        percents.insert(qRound(channel[u"value"].toDouble() * 100.0 / 65536.0));
    return percents.size() == 1 ? *percents.begin() : -1;
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

void makePrivateFolder(const QString &path)
{
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), 0700);
}

// Waits, bounded, until condition holds; checks it every 20 ms.
template <typename Condition> bool waitUntil(int timeoutMs, Condition condition)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

qsizetype soundIn(const QByteArray &samples)
{
    return samples.size() - samples.count(Silence);
}

} // namespace

char *toString(const SinkState &state)
{
    return qstrdup((QByteArray::number(state.volume) + " %" + (state.muted ? ", muted" : "")).constData());
}

PrivateSoundServer::~PrivateSoundServer()
{
    for (QProcess &process : m_processes | std::views::reverse) {
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
}

QString PrivateSoundServer::missing() const
{
    const QStringList programs =
        m_kind == Kind::PulseAudio
            ? QStringList{"pulseaudio", "pactl", "pacat"}
            : QStringList{"pipewire", "pipewire-pulse", "wireplumber", "dbus-daemon", "pactl", "pacat"};
    const auto it =
        std::ranges::find_if(programs, [](const QString &p) { return QStandardPaths::findExecutable(p).isEmpty(); });
    return it == programs.end() ? QString() : *it + QStringLiteral(" is not installed");
}

void PrivateSoundServer::freshClientHome()
{
    for (const char *name : {"/home", "/run"}) {
        QDir(m_dir.path() + name).removeRecursively();
        makePrivateFolder(m_dir.path() + name);
    }
}

bool PrivateSoundServer::start()
{
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder: ") + m_dir.errorString());
    if (const QString why = missing(); !why.isEmpty())
        return fail(why);
    const bool pulse = m_kind == Kind::PulseAudio;
    const QString t = m_dir.path(), s = t + QStringLiteral("/server");
    makePrivateFolder(s);
    freshClientHome();
    // ALSA's "default" and its mixer are the server, whatever the machine's own configuration says; a client never
    // starts a server of its own.
    if (!writeText(t + "/asound.conf", "pcm.!default { type pulse }\nctl.!default { type pulse }\n") ||
        !writeText(t + "/client.conf", "autospawn = no\n"))
        return fail(QStringLiteral("cannot write the client configuration"));

    // Clients and the server alike: nothing of the caller's session, the XDG folders (but the runtime one) under HOME.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE", "PULSE_PROP", "PULSE_COOKIE",
                             "PIPEWIRE_REMOTE", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        env.remove(name);
    m_client = env;
    m_client.insert("PULSE_SERVER", "unix:" + s + (pulse ? "/native" : "/pulse/native"));
    m_client.insert("PULSE_CLIENTCONFIG", t + "/client.conf");
    m_client.insert("ALSA_CONFIG_PATH", t + "/asound.conf");
    m_client.insert("HOME", t + "/home");
    m_client.insert("XDG_RUNTIME_DIR", t + "/run");

    // The server's programs keep their state in s. PulseAudio gets no session bus (it would look for one and wait);
    // PipeWire's session manager needs one.
    for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "PIPEWIRE_RUNTIME_DIR", "PULSE_STATE_PATH"})
        env.insert(name, s);
    env.insert("DBUS_SESSION_BUS_ADDRESS", pulse ? "disabled:" : "unix:path=" + s + "/bus");
    // Starts one, logging to program.log, and waits (bounded) for the file it makes when ready.
    const auto run = [&](const QString &program, const QStringList &args, const QString &ready = {}) {
        QProcess &process = m_processes.emplace_back();
        process.setProcessEnvironment(env);
        process.setStandardOutputFile(t + u'/' + program + ".log");
        process.setStandardErrorFile(t + u'/' + program + ".log", QIODevice::Append);
        process.start(program, args);
        return process.waitForStarted(5000) &&
               (ready.isEmpty() || waitUntil(10000, [&] { return QFile::exists(ready); }));
    };
    // Each sink's FIFO is copied to sink.raw all the time, from before the server starts to after it has stopped;
    // opened for reading and writing, so that it never reports an end while the server (re)opens it.
    bool ok = std::ranges::all_of(Sinks, [&](const QString &sink) {
        return run("sh", {"-c", R"(mkfifo -m 600 "$0.fifo" && exec cat <>"$0.fifo" >"$0.raw")", t + u'/' + sink},
                   t + u'/' + sink + ".raw");
    });
    // As root PulseAudio warns and runs (a system-wide instance is not what is meant).
    ok = ok &&
         (pulse ? run("pulseaudio", {"-n", "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + s + "/native",
                                     "-L", "module-stream-restore restore_device=false", "--exit-idle-time=-1",
                                     "--daemonize=no", "--use-pid-file=no", "--system=no"})
                : run("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + s + "/bus"},
                      s + "/bus") &&
                      run("pipewire", {}, s + "/pipewire-0") && run("wireplumber", {}) &&
                      run("pipewire-pulse", {}, s + "/pulse/native"));
    const auto running = [this] { return m_processes.back().state() == QProcess::Running; };
    ok = ok && waitUntil(10000, [&] { return !running() || pactl({"info"}); }) && running();
    for (const QString &sink : Sinks) {
        const QString load =
            QStringLiteral(
                "load-module module-pipe-sink sink_name=%1 file=%2/%1.fifo format=s16le channels=2 rate=%3%4")
                .arg(sink, t, sink == "p44" ? "44100" : "48000", pulse ? " use_system_clock_for_timing=yes" : "");
        ok = ok && pactl(load.split(u' '));
    }
    const auto listed = [this] {
        const QByteArray sinks = pactl({"list", "short", "sinks"}).value_or("");
        return sinks.contains("p48") && sinks.contains("p44");
    };
    if (ok && waitUntil(10000, listed) && setDefaultSink(Sinks.first()))
        return true;
    QFile log(t + u'/' + m_processes.back().program() + ".log");
    log.open(QIODevice::ReadOnly);
    return fail(QStringLiteral("the sound server did not answer (see the logs in %1): ").arg(t) +
                QString::fromLocal8Bit(log.readAll().right(2000)));
}

std::optional<QByteArray> PrivateSoundServer::pactl(const QStringList &args) const
{
    QProcess process; // killed by its destructor when it hangs
    process.setProcessEnvironment(m_client);
    process.start(QStringLiteral("pactl"), args);
    if (process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return process.readAllStandardOutput();
    return std::nullopt;
}

QByteArray PrivateSoundServer::received(const QString &sink, qint64 *unequal) const
{
    QFile file(m_dir.path() + u'/' + sink + QStringLiteral(".raw"));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(m_cleared.value(sink)))
        return {};
    const QByteArray frames = file.readAll(); // s16le stereo
    QByteArray samples;
    for (qsizetype i = 0; i + 4 <= frames.size(); i += 4) {
        samples.append(char(frames.at(i + 1) ^ 0x80)); // the left's high byte, as unsigned
        if (unequal)
            *unequal += std::memcmp(frames.constData() + i, frames.constData() + i + 2, 2) != 0;
    }
    return samples;
}

void PrivateSoundServer::clear(const QString &sink)
{
    m_cleared[sink] = QFile(m_dir.path() + u'/' + sink + QStringLiteral(".raw")).size() / 4 * 4;
}

bool PrivateSoundServer::waitForSound(const QString &sink, qsizetype count, int timeoutMs) const
{
    return waitUntil(timeoutMs, [&] { return soundIn(received(sink)) >= count; });
}

bool PrivateSoundServer::waitForQuiet(const QString &sink, int quietMs, int timeoutMs) const
{
    // By the clock, not by samples: a PipeWire sink writes nothing while idle.
    qsizetype sound = -1;
    QDeadlineTimer quiet;
    return waitUntil(timeoutMs, [&] {
        if (const qsizetype now = soundIn(received(sink)); now != sound) {
            sound = now;
            quiet.setRemainingTime(quietMs);
        }
        return sound > 0 && quiet.hasExpired();
    });
}

bool PrivateSoundServer::setSinkState(const QString &sink, const SinkState &state)
{
    const bool volumeSet = bool(pactl({"set-sink-volume", sink, QString::number(state.volume) + u'%'}));
    return pactl({"set-sink-mute", sink, state.muted ? "1" : "0"}) && volumeSet;
}

SinkState PrivateSoundServer::sinkState(const QString &sink) const
{
    for (const QJsonValue &s :
         QJsonDocument::fromJson(pactl({"--format=json", "list", "sinks"}).value_or("")).array()) {
        if (s[u"name"].toString() == sink)
            return {percentOf(s[u"volume"]), s[u"mute"].toBool()};
    }
    return {};
}

QList<ServerStream> PrivateSoundServer::streams() const
{
    QList<ServerStream> list;
    for (const QJsonValue &s :
         QJsonDocument::fromJson(pactl({"--format=json", "list", "sink-inputs"}).value_or("")).array())
        list.append({s[u"index"].toInt(), s[u"properties"][u"application.name"].toString(), percentOf(s[u"volume"])});
    return list;
}

void PrivateSoundServer::startPlayer(QProcess &player, const QString &application, const QStringList &more) const
{
    player.setProcessEnvironment(m_client);
    player.start(QStringLiteral("pacat"), QStringList{"--playback", "--client-name=" + application, "--format=u8",
                                                      "--channels=1", "--rate=48000"} +
                                              more);
}

int PrivateSoundServer::playSilence(const QString &application, int percent, const QStringList &more)
{
    QProcess player;
    startPlayer(player, application, more);
    ServerStream playing;
    const auto find = [&] {
        const QList<ServerStream> now = streams();
        const auto it = std::ranges::find(now, application, &ServerStream::application);
        return playing = it == now.end() ? ServerStream() : *it;
    };
    if (player.waitForStarted(5000) && player.write(QByteArray(48000 * 5, Silence)) > 0 &&
        waitUntil(5000, [&] { return find().index >= 0; }) && percent >= 0 && setStreamVolume(playing.index, percent))
        waitUntil(5000, [&] { return find().volume == percent; });
    player.kill();
    player.waitForFinished(3000);
    return playing.volume;
}

} // namespace kr31::test
