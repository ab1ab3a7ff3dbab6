#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace kr31::test {

// A sink's volume (percent, all channels alike; -1 when unknown or the
// channels differ) and mute, as a user would have set them.
struct SinkState
{
    int volume = -1;
    bool muted = false;
    bool operator==(const SinkState &) const = default;
};
char *toString(const SinkState &state);

// A stream playing on the server.
struct ServerStream
{
    int index = -1;
    QString application; // its application.name
    int volume = -1;     // percent, -1 when the channels differ
};

// A sound server of its own for one test, started in a fresh temporary folder
// and stopped (with the folder gone) by the destructor. Its outputs are pipe
// sinks: "p48" (48000 Hz, the default) and "p44" (44100 Hz), each written to a
// FIFO that a thread reads all the time, so what a sound card would receive is
// kept here as 8-bit mono samples (the server's s16 b*256-32768 back to b).
// Clients started with environment() reach it and only it: through libpulse,
// and through ALSA's pulse plugin as "default". Several may run at once.
class PrivateSoundServer
{
public:
    // PipeWire: the same sinks through pipewire-pulse, with wireplumber and a
    // session bus of its own.
    enum class Kind { PulseAudio, PipeWire };
    explicit PrivateSoundServer(Kind kind = Kind::PulseAudio);
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer &) = delete;
    PrivateSoundServer &operator=(const PrivateSoundServer &) = delete;

    // Why this kind of server cannot run here (a program missing), for a
    // skip; empty when it can.
    static QString missing(Kind kind = Kind::PulseAudio);
    // Starts the server and waits (bounded) until it answers with both sinks;
    // false with why() when it does not.
    bool start();
    QString why() const { return m_why; }
    QString folder() const { return m_dir.path(); }

    // The environment of a client: PULSE_SERVER, ALSA_CONFIG_PATH, and a home
    // of its own (HOME, XDG_RUNTIME_DIR, XDG_CONFIG_HOME, XDG_STATE_HOME...).
    QProcessEnvironment environment() const { return m_client; }
    QString clientHome() const;
    // Empties the client's home (its settings, state and work files).
    void freshClientHome();

    // What arrived at a sink since it was last cleared, one byte per sample
    // (silence is 128).
    QByteArray received(const QString &sink) const;
    void clear(const QString &sink);
    // Frames that arrived with the left and right channel different, or not
    // a whole 8-bit value (a level or a resampler touched them).
    qint64 unequalFrames(const QString &sink) const;
    qint64 inexactFrames(const QString &sink) const;
    // Waits until count samples other than silence arrived since the clear.
    bool waitForSound(const QString &sink, qsizetype count, int timeoutMs) const;
    // Waits until something arrived and the last quietMs were silence.
    bool waitForQuiet(const QString &sink, int quietMs, int timeoutMs) const;

    bool setDefaultSink(const QString &sink);
    bool setSinkState(const QString &sink, const SinkState &state);
    SinkState sinkState(const QString &sink) const;
    QList<ServerStream> streams() const;
    bool setStreamVolume(int index, int percent);
    // Has the server remember (module-stream-restore) a stream volume for an
    // application's streams: plays silence under that name, sets its volume.
    bool rememberStreamVolume(const QString &application, int percent);
    // The volume (percent) the server gives a new stream of the application
    // with this id; -1 when none could be played.
    int rememberedVolume(const QString &applicationId);

    // Runs pactl against this server; *ok false when it failed.
    QByteArray pactl(const QStringList &args, bool *ok = nullptr) const;

private:
    struct Fifo;
    bool fail(const QString &why);
    bool startPulseAudio();
    bool startPipeWire();
    bool waitUntilAnswering();
    // Starts pacat playing silence as the application.
    bool startSilence(QProcess &player, const QString &application, const QStringList &more = {}) const;
    const Fifo &fifo(const QString &sink) const;
    Fifo &fifo(const QString &sink);

    Kind m_kind;
    QTemporaryDir m_dir;
    QString m_why;
    QProcessEnvironment m_client;
    std::map<QString, std::unique_ptr<Fifo>> m_fifos;
    std::vector<std::unique_ptr<QProcess>> m_processes; // the server's, stopped last first
};

} // namespace kr31::test

Q_DECLARE_METATYPE(kr31::test::SinkState)

// In a test function: skips the test where no PulseAudio is installed,
// fails it where the server does not start.
#define KR31_START_SOUND_SERVER(server)                                                                                \
    do {                                                                                                               \
        if (const QString why = kr31::test::PrivateSoundServer::missing(); !why.isEmpty())                             \
            QSKIP(qPrintable(why));                                                                                    \
        QVERIFY2((server).start(), qPrintable((server).why()));                                                        \
    } while (false)
