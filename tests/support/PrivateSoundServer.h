#pragma once

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <list>
#include <optional>

namespace kr31::test {

// A sink's volume (percent, all channels alike; -1 when unknown or the channels differ) and mute, as a user set them.
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

// A sound server of its own for one test, started in a fresh temporary folder and stopped (with the folder gone) by the
// destructor. Its outputs are pipe sinks: "p48" (48000 Hz, the default) and "p44" (44100 Hz), each written to a FIFO
// that a reader (cat) copies to a file all the time, so what a sound card would receive is kept and given as 8-bit mono
// samples (the server's s16 b*256-32768 back to b). Clients started with environment() reach it and only it: through
// libpulse, and through ALSA's pulse plugin as "default". Several may run at once.
class PrivateSoundServer
{
public:
    // PipeWire: the same sinks through pipewire-pulse, with wireplumber and a session bus of its own.
    enum class Kind { PulseAudio, PipeWire };
    explicit PrivateSoundServer(Kind kind = Kind::PulseAudio) { m_kind = kind; }
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer &) = delete;
    PrivateSoundServer &operator=(const PrivateSoundServer &) = delete;

    // Why this server cannot run here (a program missing), for a skip; empty when it can.
    QString missing() const;
    // Starts the server and waits (bounded) until it answers with both sinks; false with why() when it does not.
    bool start();
    QString why() const { return m_why; }

    // The environment of a client: PULSE_SERVER, ALSA_CONFIG_PATH, and a home of its own (HOME and XDG_RUNTIME_DIR; the
    // other XDG folders unset, so under HOME).
    QProcessEnvironment environment() const { return m_client; }
    // Empties the client's home (its settings, state and work files).
    void freshClientHome();
    // Starts pacat as the application, playing the 8-bit mono 48 kHz samples written to player.
    void startPlayer(QProcess &player, const QString &application, const QStringList &more = {}) const;

    // What arrived at a sink since it was last cleared, one byte per sample (silence is 128); *unequal counts the
    // frames with the left and right channel different (a level or a resampler touched them).
    QByteArray received(const QString &sink, qint64 *unequal = nullptr) const;
    void clear(const QString &sink);
    // Waits until count samples other than silence arrived since the clear.
    bool waitForSound(const QString &sink, qsizetype count, int timeoutMs) const;
    // Waits until something arrived and the last quietMs were silence.
    bool waitForQuiet(const QString &sink, int quietMs, int timeoutMs) const;

    // Runs pactl against this server: its output, none when it failed.
    std::optional<QByteArray> pactl(const QStringList &args) const;
    bool setDefaultSink(const QString &sink) { return bool(pactl({"set-default-sink", sink})); }
    bool setSinkState(const QString &sink, const SinkState &state);
    SinkState sinkState(const QString &sink) const;
    QList<ServerStream> streams() const;
    bool setStreamVolume(int index, int percent)
    {
        return bool(pactl({"set-sink-input-volume", QString::number(index), QString::number(percent) + u'%'}));
    }
    // Plays silence as the application (more: pacat's options) until its stream shows, and sets that stream's volume to
    // percent unless it is -1 (module-stream-restore then remembers it for the application's later streams). The
    // stream's volume (percent) at the end; -1 when none played.
    int playSilence(const QString &application, int percent = -1, const QStringList &more = {});

private:
    bool fail(const QString &why) { return m_why = why, false; }

    Kind m_kind;
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/kr31-sound-XXXXXX")};
    QString m_why;
    QProcessEnvironment m_client;
    QMap<QString, qint64> m_cleared; // where in sink.raw the last clear was
    std::list<QProcess> m_processes; // the server's, stopped last first
};

} // namespace kr31::test

// In a test function: skips the test where the server's programs are not installed, fails it where the server does not
// start.
#define KR31_START_SOUND_SERVER(server)                                                                                \
    do {                                                                                                               \
        if (const QString why = (server).missing(); !why.isEmpty())                                                    \
            QSKIP(qPrintable(why));                                                                                    \
        QVERIFY2((server).start(), qPrintable((server).why()));                                                        \
    } while (false)
