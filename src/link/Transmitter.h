#pragma once

#include "core/Services.h"
#include "link/Packets.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace kr31 {

class Settings;
class SoundOutput;

// The small window shown while a transfer plays.
class SendingDialog
{
public:
    virtual ~SendingDialog() = default;
    // Shows the dialog centred over caller (a window), without making it modal.
    virtual void showOver(QObject *caller) = 0;
    virtual void close() = 0;
};

// What one transfer sends, and where its 500 ms pause falls.
struct Transfer
{
    enum class Pause { None, BeforeBuild, AfterBuild };

    std::optional<Packet> packet; // none: the transfer is refused with `refusal`
    QString refusal;
    Pause pause = Pause::None;

    // The LED program packet of a command list: built, then the pause. A list
    // with a field that is no integer is refused with (502).
    static Transfer ledProgram(const QStringList &commandList);
    // A single value (1: run the LED program, 2: play the melody), after the pause.
    static Transfer shortCommand(int value);
    // Header 6 and the brightness byte, with no pause.
    static Transfer brightness(int percent);
    // A ready packet (melody, alarm sound, reset), with no pause.
    static Transfer of(const Packet &packet);
};

// Sends packets to the lamp. A send is one job: [the sending dialog shown,
// 500 ms], prepare the mixer, build the transfer sound in the mode that the
// settings hold at that moment, [500 ms], write "Creat.WAV" in the work
// folder, play it, silence, [the dialog closed], then the messages about it.
// The job runs on the clock's timers and the output's own thread, never by
// spinning an event loop; while it runs user input is dropped, a second send
// is refused and the output takes no other sound. Failures are shown through
// dialogs; nothing is thrown.
class Transmitter
{
public:
    // Gets whether the transfer was sent, once the job has ended.
    using Done = std::function<void(bool sent)>;

    Transmitter(Dialogs &dialogs, SoundOutput &sound, Clock &clock, Settings &settings);
    ~Transmitter();

    // A fixed transfer mode (0..3) instead of the one in the settings, for a
    // caller that names it (kr31-cli --mode); nullopt goes back to the settings.
    void setMode(std::optional<int> mode) { m_mode = mode; }

    // The sound of a packet: the leader and every value with its start bit.
    QByteArray buildSound(const Packet &packet) const;

    // Writes samples to "Creat.WAV"; on failure shows (105) with the file and
    // the reason, and returns false.
    bool writeSound(const QByteArray &samples);

    // Starts the job of a transfer, with the sending dialog around it when
    // one is given (shown over caller). False, and done never called, while
    // another job runs.
    bool start(const Transfer &transfer, Done done = {}, SendingDialog *dialog = nullptr, QObject *caller = nullptr);

    // Shorthands of start() without the dialog.
    bool sendLedProgram(const QStringList &commandList, Done done = {});
    bool sendShortCommand(int value, Done done = {});
    bool sendBrightness(int percent, Done done = {});
    bool sendPacket(const Packet &packet, Done done = {});

    // Which objects take user input while a job runs (the sending dialog's
    // own controls); all others take none.
    void letInputThrough(std::function<bool(const QObject *)> passes) { m_inputPasses = std::move(passes); }

    // Ends a job that waits for another program's transfer: nothing is sent
    // and nothing is said (done gets false). Nothing happens when no job runs.
    void cancel();

    // True from start() until the job's done has been called.
    bool sending() const { return bool(m_job); }
    // Runs action at once when no job runs, else right after the running
    // job has ended (its messages answered).
    void whenIdle(std::function<void()> action);
    // Called with true when a job starts (before its first step) and with
    // false when it has ended; for what must halt while a transfer plays.
    void onSending(std::function<void(bool)> listener);

private:
    struct Job;
    QString soundPath() const;
    void prepared();
    void writeAndPlay();
    void played(bool sent, const QString &message);
    void finish();

    Dialogs &m_dialogs;
    SoundOutput &m_sound;
    Clock &m_clock;
    Settings &m_settings;
    std::optional<int> m_mode;
    std::unique_ptr<Job> m_job;
    std::function<bool(const QObject *)> m_inputPasses;
    QList<std::function<void()>> m_whenIdle;
    QList<std::function<void(bool)>> m_listeners;
};

} // namespace kr31
