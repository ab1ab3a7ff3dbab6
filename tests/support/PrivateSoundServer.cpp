#include "support/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kr31::test {

namespace {

constexpr char Silence = char(128);
const QStringList Sinks{QStringLiteral("p48"), QStringLiteral("p44")};

int rateOf(const QString &sink)
{
    return sink == QLatin1String("p44") ? 44100 : 48000;
}

// Percent of a pactl volume object ({"front-left": {"value": 65536, ...}, ...}),
// -1 when the channels differ.
int percentOf(const QJsonObject &volume)
{
    int percent = -1;
    for (const QJsonValue &channel : volume) {
        const int p = qRound(channel.toObject().value(QLatin1String("value")).toDouble() * 100.0 / 65536.0);
        if (percent >= 0 && p != percent)
            return -1;
        percent = p;
    }
    return percent;
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
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

} // namespace

char *toString(const SinkState &state)
{
    const QByteArray text = QByteArray::number(state.volume) + " %" + (state.muted ? ", muted" : "");
    return qstrdup(text.constData());
}

// One pipe sink's FIFO, read on a thread of its own from before the server
// starts to after it has stopped. Opened for reading and writing, so that it
// never reports an end while the server (re)opens it.
struct PrivateSoundServer::Fifo
{
    using Clock = std::chrono::steady_clock;

    explicit Fifo(const QString &path)
        : fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC))
    {
        if (fd >= 0)
            reader = std::thread([this] { run(); });
    }
    ~Fifo()
    {
        stop = true;
        if (reader.joinable())
            reader.join();
        if (fd >= 0)
            ::close(fd);
    }

    void run()
    {
        char chunk[65536];
        while (!stop) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n > 0)
                take(chunk, n);
        }
    }

    // s16le stereo frames to 8-bit mono samples.
    void take(const char *bytes, ssize_t n)
    {
        partial.append(bytes, n);
        const qsizetype frames = partial.size() / 4;
        const auto *s = reinterpret_cast<const unsigned char *>(partial.constData());
        std::lock_guard lock(mutex);
        for (qsizetype i = 0; i < frames; ++i, s += 4) {
            const qint16 left = qint16(s[0] | s[1] << 8);
            const qint16 right = qint16(s[2] | s[3] << 8);
            unequal += left != right;
            inexact += (left & 0xff) != 0;
            const char sample = char((left >> 8) + 128);
            samples.append(sample);
            if (sample != Silence) {
                ++sound;
                lastSound = Clock::now();
            }
        }
        partial.remove(0, frames * 4);
        arrived.notify_all();
    }

    void clear()
    {
        std::lock_guard lock(mutex);
        samples.clear();
        sound = 0;
        unequal = inexact = 0;
        lastSound = {};
    }

    int fd;
    std::thread reader;
    std::atomic<bool> stop{false};
    QByteArray partial;
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    QByteArray samples;
    qsizetype sound = 0;
    qint64 unequal = 0;
    qint64 inexact = 0;
    Clock::time_point lastSound{};
};

PrivateSoundServer::PrivateSoundServer(Kind kind)
    : m_kind(kind)
    , m_dir(QDir::tempPath() + QStringLiteral("/kr31-sound-XXXXXX"))
{
}

PrivateSoundServer::~PrivateSoundServer()
{
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        QProcess &process = **it;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
    m_fifos.clear(); // joins the readers before the folder goes
}

QString PrivateSoundServer::missing(Kind kind)
{
    const QStringList programs = kind == Kind::PulseAudio ? QStringList{"pulseaudio", "pactl", "pacat"}
                                                          : QStringList{"pipewire",    "pipewire-pulse", "wireplumber",
                                                                        "dbus-daemon", "pactl",          "pacat"};
    for (const QString &program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return program + QStringLiteral(" is not installed");
    }
    return {};
}

bool PrivateSoundServer::fail(const QString &why)
{
    m_why = why;
    return false;
}

QString PrivateSoundServer::clientHome() const
{
    return folder() + QStringLiteral("/home");
}

void PrivateSoundServer::freshClientHome()
{
    for (const QString &name : {QStringLiteral("home"), QStringLiteral("run")}) {
        QDir dir(folder() + u'/' + name);
        dir.removeRecursively();
        QDir().mkpath(dir.path());
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    }
}

bool PrivateSoundServer::start()
{
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder: ") + m_dir.errorString());
    if (const QString why = missing(m_kind); !why.isEmpty())
        return fail(why);
    const QString t = folder();
    QDir().mkpath(t + QStringLiteral("/server"));
    ::chmod(QFile::encodeName(t + QStringLiteral("/server")).constData(), 0700);
    freshClientHome();
    for (const QString &sink : Sinks) {
        const QString path = t + u'/' + sink + QStringLiteral(".fifo");
        if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
            return fail(QStringLiteral("mkfifo ") + path + QStringLiteral(" failed"));
        auto fifo = std::make_unique<Fifo>(path);
        if (fifo->fd < 0)
            return fail(QStringLiteral("cannot open ") + path);
        m_fifos[sink] = std::move(fifo);
    }
    // ALSA's "default" and its mixer are the server, whatever the machine's
    // own configuration says; a client never starts a server of its own.
    if (!writeText(t + QStringLiteral("/asound.conf"), "pcm.!default { type pulse }\nctl.!default { type pulse }\n") ||
        !writeText(t + QStringLiteral("/client.conf"), "autospawn = no\n"))
        return fail(QStringLiteral("cannot write the client configuration"));

    const QString socket =
        m_kind == Kind::PulseAudio ? t + QStringLiteral("/server/native") : t + QStringLiteral("/server/pulse/native");
    m_client = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"PULSE_SINK", "PULSE_SOURCE", "PULSE_PROP", "PULSE_COOKIE", "PIPEWIRE_REMOTE"})
        m_client.remove(QString::fromLatin1(name));
    const QString home = clientHome();
    m_client.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + socket);
    m_client.insert(QStringLiteral("PULSE_CLIENTCONFIG"), t + QStringLiteral("/client.conf"));
    m_client.insert(QStringLiteral("ALSA_CONFIG_PATH"), t + QStringLiteral("/asound.conf"));
    m_client.insert(QStringLiteral("HOME"), home);
    m_client.insert(QStringLiteral("XDG_RUNTIME_DIR"), t + QStringLiteral("/run"));
    m_client.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    m_client.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));
    m_client.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    m_client.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));

    return m_kind == Kind::PulseAudio ? startPulseAudio() : startPipeWire();
}

bool PrivateSoundServer::startPulseAudio()
{
    const QString t = folder();
    const QByteArray script =
        QStringLiteral("load-module module-native-protocol-unix auth-anonymous=1 socket=%1/server/native\n"
                       "load-module module-pipe-sink sink_name=p48 file=%1/p48.fifo rate=48000 format=s16le channels=2 "
                       "use_system_clock_for_timing=yes\n"
                       "load-module module-pipe-sink sink_name=p44 file=%1/p44.fifo rate=44100 format=s16le channels=2 "
                       "use_system_clock_for_timing=yes\n"
                       "load-module module-stream-restore restore_device=false\n"
                       "set-default-sink p48\n")
            .arg(t)
            .toLocal8Bit();
    if (!writeText(t + QStringLiteral("/server.pa"), script))
        return fail(QStringLiteral("cannot write server.pa"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PULSE_SERVER"));
    for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "PULSE_STATE_PATH", "XDG_CONFIG_HOME"})
        env.insert(QString::fromLatin1(name), t + QStringLiteral("/server"));
    // No session bus: the server would look for one and wait.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    auto &server = m_processes.emplace_back(std::make_unique<QProcess>());
    server->setProcessEnvironment(env);
    server->setStandardOutputFile(t + QStringLiteral("/server.log"));
    server->setStandardErrorFile(t + QStringLiteral("/server.log"), QIODevice::Append);
    // As root it warns and runs (a system-wide instance is not what is meant).
    server->start(QStringLiteral("pulseaudio"), {"-n", "-F", t + QStringLiteral("/server.pa"), "--exit-idle-time=-1",
                                                 "--daemonize=no", "--use-pid-file=no", "--system=no"});
    if (!server->waitForStarted(5000))
        return fail(QStringLiteral("pulseaudio did not start: ") + server->errorString());
    return waitUntilAnswering();
}

bool PrivateSoundServer::startPipeWire()
{
    const QString t = folder();
    // PipeWire's session manager needs a session bus: a private one.
    auto &bus = m_processes.emplace_back(std::make_unique<QProcess>());
    bus->start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!bus->waitForStarted(5000))
        return fail(QStringLiteral("dbus-daemon did not start"));
    QByteArray address;
    waitUntil(5000, [&] {
        bus->waitForReadyRead(20);
        address += bus->readAllStandardOutput();
        return address.contains('\n');
    });
    address = address.trimmed();
    if (address.isEmpty())
        return fail(QStringLiteral("dbus-daemon gave no address"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("PIPEWIRE_REMOTE"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLocal8Bit(address));
    for (const char *name : {"XDG_RUNTIME_DIR", "PIPEWIRE_RUNTIME_DIR", "HOME"})
        env.insert(QString::fromLatin1(name), t + QStringLiteral("/server"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), t + QStringLiteral("/server/.config"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), t + QStringLiteral("/server/.state"));
    const auto startOne = [&](const QString &program, const QString &readyPath) {
        auto &process = m_processes.emplace_back(std::make_unique<QProcess>());
        process->setProcessEnvironment(env);
        process->setStandardOutputFile(t + u'/' + program + QStringLiteral(".log"));
        process->setStandardErrorFile(t + u'/' + program + QStringLiteral(".log"), QIODevice::Append);
        process->start(program, {});
        return process->waitForStarted(5000) &&
               (readyPath.isEmpty() || waitUntil(10000, [&] { return QFile::exists(readyPath); }));
    };
    if (!startOne(QStringLiteral("pipewire"), t + QStringLiteral("/server/pipewire-0")) ||
        !startOne(QStringLiteral("wireplumber"), {}) ||
        !startOne(QStringLiteral("pipewire-pulse"), t + QStringLiteral("/server/pulse/native")))
        return fail(QStringLiteral("PipeWire did not start; see the logs in ") + t);
    // The same sinks, loaded through its PulseAudio layer.
    for (const QString &sink : Sinks) {
        bool ok = false;
        pactl({"load-module", "module-pipe-sink", "sink_name=" + sink, "file=" + t + u'/' + sink + ".fifo",
               "rate=" + QString::number(rateOf(sink)), "format=s16le", "channels=2"},
              &ok);
        if (!ok)
            return fail(QStringLiteral("PipeWire did not load the pipe sink ") + sink);
    }
    return waitUntilAnswering() && (setDefaultSink(QStringLiteral("p48")) || fail(QStringLiteral("no default sink")));
}

bool PrivateSoundServer::waitUntilAnswering()
{
    const bool answering = waitUntil(10000, [this] {
        if (m_processes.back()->state() == QProcess::NotRunning)
            return true;
        const QByteArray sinks = pactl({"list", "short", "sinks"});
        return sinks.contains("p48") && sinks.contains("p44");
    });
    if (answering && m_processes.back()->state() == QProcess::Running)
        return true;
    QFile log(folder() + QStringLiteral("/server.log"));
    log.open(QIODevice::ReadOnly);
    return fail(QStringLiteral("the sound server did not answer: ") +
                QString::fromLocal8Bit(log.readAll().right(2000)));
}

QByteArray PrivateSoundServer::pactl(const QStringList &args, bool *ok) const
{
    QProcess process;
    process.setProcessEnvironment(m_client);
    process.start(QStringLiteral("pactl"), args);
    const bool done =
        process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!done)
        process.kill();
    if (ok)
        *ok = done;
    return done ? process.readAllStandardOutput() : QByteArray();
}

const PrivateSoundServer::Fifo &PrivateSoundServer::fifo(const QString &sink) const
{
    const auto it = m_fifos.find(sink);
    if (it == m_fifos.end())
        qFatal("PrivateSoundServer: no sink %s, or the server was not started", qPrintable(sink));
    return *it->second;
}

PrivateSoundServer::Fifo &PrivateSoundServer::fifo(const QString &sink)
{
    return const_cast<Fifo &>(std::as_const(*this).fifo(sink));
}

QByteArray PrivateSoundServer::received(const QString &sink) const
{
    const Fifo &f = fifo(sink);
    std::lock_guard lock(f.mutex);
    return f.samples;
}

void PrivateSoundServer::clear(const QString &sink)
{
    fifo(sink).clear();
}

qint64 PrivateSoundServer::unequalFrames(const QString &sink) const
{
    const Fifo &f = fifo(sink);
    std::lock_guard lock(f.mutex);
    return f.unequal;
}

qint64 PrivateSoundServer::inexactFrames(const QString &sink) const
{
    const Fifo &f = fifo(sink);
    std::lock_guard lock(f.mutex);
    return f.inexact;
}

bool PrivateSoundServer::waitForSound(const QString &sink, qsizetype count, int timeoutMs) const
{
    const Fifo &f = fifo(sink);
    std::unique_lock lock(f.mutex);
    return f.arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return f.sound >= count; });
}

bool PrivateSoundServer::waitForQuiet(const QString &sink, int quietMs, int timeoutMs) const
{
    // By the clock, not by samples: a PipeWire sink writes nothing while idle.
    const Fifo &f = fifo(sink);
    return waitUntil(timeoutMs, [&] {
        std::lock_guard lock(f.mutex);
        return f.sound > 0 && Fifo::Clock::now() - f.lastSound >= std::chrono::milliseconds(quietMs);
    });
}

bool PrivateSoundServer::setDefaultSink(const QString &sink)
{
    bool ok = false;
    pactl({"set-default-sink", sink}, &ok);
    return ok;
}

bool PrivateSoundServer::setSinkState(const QString &sink, const SinkState &state)
{
    bool volumeSet = false, muteSet = false;
    pactl({"set-sink-volume", sink, QString::number(state.volume) + u'%'}, &volumeSet);
    pactl({"set-sink-mute", sink, state.muted ? "1" : "0"}, &muteSet);
    return volumeSet && muteSet;
}

SinkState PrivateSoundServer::sinkState(const QString &sink) const
{
    const QJsonArray sinks = QJsonDocument::fromJson(pactl({"--format=json", "list", "sinks"})).array();
    for (const QJsonValue &value : sinks) {
        const QJsonObject s = value.toObject();
        if (s.value(QLatin1String("name")).toString() == sink)
            return {percentOf(s.value(QLatin1String("volume")).toObject()), s.value(QLatin1String("mute")).toBool()};
    }
    return {};
}

QList<ServerStream> PrivateSoundServer::streams() const
{
    QList<ServerStream> list;
    const QJsonArray inputs = QJsonDocument::fromJson(pactl({"--format=json", "list", "sink-inputs"})).array();
    for (const QJsonValue &value : inputs) {
        const QJsonObject s = value.toObject();
        list.append(
            {s.value(QLatin1String("index")).toInt(),
             s.value(QLatin1String("properties")).toObject().value(QLatin1String("application.name")).toString(),
             percentOf(s.value(QLatin1String("volume")).toObject())});
    }
    return list;
}

bool PrivateSoundServer::setStreamVolume(int index, int percent)
{
    bool ok = false;
    pactl({"set-sink-input-volume", QString::number(index), QString::number(percent) + u'%'}, &ok);
    return ok;
}

bool PrivateSoundServer::startSilence(QProcess &player, const QString &application, const QStringList &more) const
{
    player.setProcessEnvironment(m_client);
    player.start(QStringLiteral("pacat"), QStringList{"--playback", "--client-name=" + application, "--format=u8",
                                                      "--channels=1", "--rate=48000"}
                                              + more);
    if (!player.waitForStarted(5000))
        return false;
    player.write(QByteArray(48000 * 5, Silence));
    return true;
}

int PrivateSoundServer::rememberedVolume(const QString &applicationId)
{
    QProcess player;
    const QString probe = QStringLiteral("probe");
    int volume = -1;
    if (startSilence(player, probe, {"--property=application.id=" + applicationId}))
        waitUntil(5000, [&] {
            for (const ServerStream &stream : streams()) {
                if (stream.application == probe)
                    return volume = stream.volume, true;
            }
            return false;
        });
    player.kill();
    player.waitForFinished(3000);
    return volume;
}

bool PrivateSoundServer::rememberStreamVolume(const QString &application, int percent)
{
    // module-stream-restore keeps a volume set on a playing stream for every
    // later stream of the same application name.
    QProcess player;
    if (!startSilence(player, application))
        return false;
    int index = -1;
    const auto playing = [&] {
        for (const ServerStream &stream : streams()) {
            if (stream.application == application)
                return index = stream.index, true;
        }
        return false;
    };
    const bool remembered = waitUntil(5000, playing) && setStreamVolume(index, percent) && waitUntil(5000, [&] {
                                const QList<ServerStream> now = streams();
                                return std::any_of(now.begin(), now.end(), [&](const ServerStream &s) {
                                    return s.index == index && s.volume == percent;
                                });
                            });
    player.kill();
    player.waitForFinished(3000);
    return remembered;
}

} // namespace kr31::test
