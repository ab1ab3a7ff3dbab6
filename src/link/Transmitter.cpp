#include "link/Transmitter.h"

#include "core/Messages.h"
#include "core/Settings.h"
#include "core/WorkFolder.h"
#include "link/SoundOutput.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"

namespace kr31 {

namespace {
constexpr int PauseMs = 500;
}

Transmitter::Transmitter(Dialogs &dialogs, SoundOutput &sound, Clock &clock, Settings &settings)
    : m_dialogs(dialogs)
    , m_sound(sound)
    , m_clock(clock)
    , m_settings(settings)
{
}

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
    // Built anew for every transfer and played at once: it need not outlive a
    // power cut, and syncing it would hold up every Send.
    QString why;
    if (wav::write(soundPath(), samples, &why, textfile::Durability::Scratch))
        return true;
    // The old file must not be played: the lamp would take an old program.
    m_dialogs.warning(msg::soundNotWritten(soundPath(), why));
    return false;
}

bool Transmitter::playSound()
{
    QString error;
    if (m_sound.play(soundPath(), &error))
        return true;
    m_dialogs.warning(error.isEmpty() ? msg::CannotPlay : error);
    return false;
}

bool Transmitter::playTransfer()
{
    QString error, warning;
    const int mode = m_mode.value_or(m_settings.waveMode());
    if (!m_sound.playTransfer(soundPath(), mode, &error, &warning)) {
        m_dialogs.warning(error.isEmpty() ? msg::CannotPlay : error);
        return false;
    }
    if (!warning.isEmpty())
        m_dialogs.warning(warning);
    return true;
}

bool Transmitter::writeAndPlay(const QByteArray &samples)
{
    return writeSound(samples) && playTransfer();
}

bool Transmitter::sendLedProgram(const QStringList &commandList)
{
    const auto packet = packet::ledProgram(commandList);
    if (!packet) {
        m_dialogs.warning(msg::ProgramError502);
        return false;
    }
    m_sound.prepare();
    const QByteArray samples = buildSound(*packet);
    m_clock.wait(PauseMs);
    const bool sent = writeAndPlay(samples);
    m_sound.silence();
    return sent;
}

bool Transmitter::sendShortCommand(int value)
{
    m_sound.prepare();
    m_clock.wait(PauseMs);
    const bool sent = writeAndPlay(buildSound(packet::shortCommand(value)));
    m_sound.silence();
    return sent;
}

bool Transmitter::sendBrightness(int percent)
{
    m_sound.prepare();
    const bool sent = writeAndPlay(buildSound(packet::brightness(percent)));
    m_sound.silence();
    return sent;
}

bool Transmitter::sendPacket(const Packet &packet)
{
    // Prepared first: the output's turn among our programs is taken before
    // the shared sound file is written.
    m_sound.prepare();
    const bool sent = writeAndPlay(buildSound(packet));
    m_sound.silence();
    return sent;
}

bool Transmitter::withSendingDialog(SendingDialog &dialog, QObject *caller, const std::function<bool()> &transfer)
{
    dialog.showOver(caller);
    m_clock.wait(PauseMs);
    const bool sent = transfer();
    dialog.close();
    return sent;
}

} // namespace kr31
