#include "link/Transmitter.h"

#include "core/InputBlocker.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/WorkFolder.h"
#include "sound/SoundOutput.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"

namespace kr31 {

namespace {
constexpr int PauseMs = 500;
}

Transfer Transfer::ledProgram(const QStringList &commandList)
{
    Transfer t;
    t.packet = packet::ledProgram(commandList);
    if (!t.packet)
        t.refusal = msg::ProgramError502;
    t.pause = Pause::AfterBuild;
    return t;
}

Transfer Transfer::shortCommand(int value)
{
    Transfer t = of(packet::shortCommand(value));
    t.pause = Pause::BeforeBuild;
    return t;
}

Transfer Transfer::brightness(int percent)
{
    return of(packet::brightness(percent));
}

Transfer Transfer::of(const Packet &packet)
{
    Transfer t;
    t.packet = packet;
    return t;
}

struct Transmitter::Job
{
    Transfer transfer;
    Done done;
    SendingDialog *dialog = nullptr;
    QObject *caller = nullptr;
    QByteArray samples;
    bool prepared = false;
    bool cancelled = false;
    bool sent = false;
    QStringList messages;
    std::optional<InputBlocker> blocker;
};

Transmitter::Transmitter(Dialogs &dialogs, SoundOutput &sound, Clock &clock, Settings &settings)
    : m_dialogs(dialogs)
    , m_sound(sound)
    , m_clock(clock)
    , m_settings(settings)
{
}

Transmitter::~Transmitter() = default;

QString Transmitter::soundPath() const
{
    return workfolder::file(QStringLiteral("Creat.WAV"));
}

QByteArray Transmitter::buildSound(const Packet &packet) const
{
    if (m_mode)
        return tone::transferSound(packet, [mode = *m_mode] { return mode; });
    return tone::transferSound(packet, m_settings.waveModeReader());
}

bool Transmitter::writeSound(const QByteArray &samples)
{
    QString why;
    if (wav::write(soundPath(), samples, &why, textfile::Durability::Scratch))
        return true;
    m_dialogs.warning(msg::soundNotWritten(soundPath(), why));
    return false;
}

bool Transmitter::start(const Transfer &transfer, Done done, SendingDialog *dialog, QObject *caller)
{
    if (m_job)
        return false;
    m_job = std::make_unique<Job>();
    m_job->transfer = transfer;
    m_job->done = std::move(done);
    m_job->dialog = dialog;
    m_job->caller = caller;
    m_job->blocker.emplace(m_inputPasses);
    for (const auto &listener : std::as_const(m_listeners))
        listener(true);
    const auto begin = [this] {
        if (!m_job->transfer.packet) {
            m_job->messages << m_job->transfer.refusal;
            finish();
            return;
        }
        // The output's turn among our programs is taken before the shared
        // sound file is written.
        m_job->prepared = true;
        m_sound.startPrepare([this] { prepared(); });
    };
    if (dialog) {
        dialog->showOver(caller);
        m_clock.after(PauseMs, begin); // the dialog paints meanwhile
    } else {
        begin();
    }
    return true;
}

void Transmitter::prepared()
{
    const auto build = [this] { m_job->samples = buildSound(*m_job->transfer.packet); };
    switch (m_job->transfer.pause) {
    case Transfer::Pause::BeforeBuild:
        m_clock.after(PauseMs, [this, build] {
            build();
            writeAndPlay();
        });
        break;
    case Transfer::Pause::AfterBuild:
        build();
        m_clock.after(PauseMs, [this] { writeAndPlay(); });
        break;
    case Transfer::Pause::None:
        build();
        writeAndPlay();
        break;
    }
}

void Transmitter::writeAndPlay()
{
    if (m_job->cancelled) { // while waiting for its turn: another's sound file is not touched
        played(false, {});
        return;
    }
    // Built anew for every transfer and played at once: it need not outlive a
    // power cut, and syncing it would hold up every Send.
    QString why;
    if (!wav::write(soundPath(), m_job->samples, &why, textfile::Durability::Scratch)) {
        // The old file must not be played: the lamp would take an old program.
        played(false, msg::soundNotWritten(soundPath(), why));
        return;
    }
    const int mode = m_mode.value_or(m_settings.waveMode());
    m_sound.startTransfer(soundPath(), mode, [this](bool ok, const QString &error, const QString &warning) {
        played(ok, ok ? warning : error.isEmpty() ? msg::CannotPlay : error);
    });
}

void Transmitter::played(bool sent, const QString &message)
{
    m_job->sent = sent && !m_job->cancelled;
    if (!message.isEmpty() && !m_job->cancelled)
        m_job->messages << message;
    finish();
}

void Transmitter::cancel()
{
    if (!m_job || m_job->cancelled)
        return;
    m_job->cancelled = true;
    m_sound.stopPlaying(); // ends the wait for the turn, or the sound
}

void Transmitter::finish()
{
    if (m_job->prepared)
        m_sound.finishTransfer();
    if (m_job->dialog)
        m_job->dialog->close(); // gone before any message about the transfer
    m_job->blocker.reset();
    // Still sending while the messages are answered: nothing else starts
    // under them.
    for (const QString &message : std::as_const(m_job->messages))
        m_dialogs.warning(message);
    const std::unique_ptr<Job> job = std::move(m_job);
    for (const auto &listener : std::as_const(m_listeners))
        listener(false);
    if (job->done)
        job->done(job->sent);
    while (!m_job && !m_whenIdle.isEmpty())
        m_whenIdle.takeFirst()();
}

bool Transmitter::sendLedProgram(const QStringList &commandList, Done done)
{
    return start(Transfer::ledProgram(commandList), std::move(done));
}

bool Transmitter::sendShortCommand(int value, Done done)
{
    return start(Transfer::shortCommand(value), std::move(done));
}

bool Transmitter::sendBrightness(int percent, Done done)
{
    return start(Transfer::brightness(percent), std::move(done));
}

bool Transmitter::sendPacket(const Packet &packet, Done done)
{
    return start(Transfer::of(packet), std::move(done));
}

void Transmitter::whenIdle(std::function<void()> action)
{
    if (m_job)
        m_whenIdle.append(std::move(action));
    else
        action();
}

void Transmitter::onSending(std::function<void(bool)> listener)
{
    m_listeners.append(std::move(listener));
}

} // namespace kr31
