#pragma once

#include "core/Services.h"
#include "link/Packets.h"

#include <QByteArray>
#include <QObject>

#include <functional>
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

// Sends packets to the lamp: builds the transfer sound in the mode that the
// settings hold at that moment, writes "Creat.WAV" in the work folder, and
// plays it with the mixer steps around it. Every failure is shown to the user
// through dialogs and answered with false; nothing is thrown.
class Transmitter
{
public:
    Transmitter(Dialogs &dialogs, SoundOutput &sound, Clock &clock, Settings &settings);

    // A fixed transfer mode (0..3) instead of the one in the settings, for a
    // caller that names it (kr31-cli --mode); nullopt goes back to the settings.
    void setMode(std::optional<int> mode) { m_mode = mode; }

    // The sound of a packet: the leader and every value with its start bit.
    QByteArray buildSound(const Packet &packet) const;

    // Writes samples to "Creat.WAV"; on failure shows (105) with the file and
    // the reason, and returns false.
    bool writeSound(const QByteArray &samples);

    // Plays "Creat.WAV" to its end; on failure shows why and returns false.
    bool playSound();

    // Plays "Creat.WAV" as a transfer in the current mode: the output may
    // refuse what the lamp could not hear (shown, false) or play it with a
    // warning (shown, true).
    bool playTransfer();

    // Writes and, only when that worked, plays as a transfer.
    bool writeAndPlay(const QByteArray &samples);

    // The LED program packet of a command list: prepare, build, wait 500 ms,
    // write, play, silence. A list with a field that is no integer shows (502)
    // and sends nothing.
    bool sendLedProgram(const QStringList &commandList);

    // A single value (1: run the LED program, 2: play the melody): prepare,
    // wait 500 ms, write, play, silence.
    bool sendShortCommand(int value);

    // Header 6 and the brightness byte: prepare, write, play, silence; no wait.
    bool sendBrightness(int percent);

    // A ready packet (melody, alarm sound, reset): prepare, write, play, silence.
    bool sendPacket(const Packet &packet);

    // The sending dialog around a transfer: show it over caller, wait 500 ms
    // so that it paints, run transfer, close it. Returns transfer's answer.
    bool withSendingDialog(SendingDialog &dialog, QObject *caller, const std::function<bool()> &transfer);

private:
    QString soundPath() const;

    Dialogs &m_dialogs;
    SoundOutput &m_sound;
    Clock &m_clock;
    Settings &m_settings;
    std::optional<int> m_mode;
};

} // namespace kr31
