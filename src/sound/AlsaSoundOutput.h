#pragma once

#include "SoundOutput.h"
#include "core/Messages.h"

#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <utility>

namespace kr31 {

// SoundOutput on ALSA: plays through the "default" PCM and works the simple
// mixer elements of the "default" card: "Master" (or else "Speaker") is the
// speakers line, "PCM" the wave line.
class AlsaSoundOutput final : public SoundOutput
{
public:
    // What noteState() found on one line; an empty optional is a control the
    // line lacked (or a line that was missing), which restore() leaves alone.
    struct LineState
    {
        std::optional<double> volume; // percent of the playback range
        double balance = 50;          // 0 = left only, 50 = centre, 100 = right only
        std::optional<bool> mute;
        bool operator==(const LineState &) const = default;
    };

    // Both lines as the text lines of notedState(): "alsa speakers|wave
    // VOLUME BALANCE MUTE", "-" for a control the line lacked; volumes and
    // balances exact, so that they come back as they were.
    static QStringList stateLines(const LineState &speakers, const LineState &wave);
    // The speakers and wave line of stateLines(); nullopt for lines of another
    // output, or broken ones (a value outside 0..100, a missing line).
    static std::optional<std::pair<LineState, LineState>> statesOfLines(const QStringList &lines);

    // marginMs: how much longer than the sound itself a playback may take.
    explicit AlsaSoundOutput(int marginMs = 5000, int stallMs = msg::StallMs);

    // Notes volume, balance and mute of both lines; without a mixer nothing is noted.
    void noteState() override;
    // noteState() on another thread (loading ALSA and reading its
    // configuration takes milliseconds); the mixer steps below wait for it.
    // Call once, before any of them.
    void noteStateMeanwhile();
    // Both lines to 100 %, balance 50, unmuted; missing lines and controls are skipped.
    void prepare() override;
    // Mutes the speakers line if it has a switch.
    void silence() override;
    // Puts back what noteState() found, unmuting the speakers unless atExit;
    // does nothing if noteState() was never called.
    void restore(bool atExit) override;
    // Plays an 8-bit mono 48000 Hz PCM WAV on "default" and waits until it has
    // played, at most its length plus the margin, whatever the device does
    // (opening, set-up, writing and draining all count). A data chunk longer
    // than the file is cut to the file; an empty one plays nothing and succeeds.
    bool play(const QString &path, QString *error) override;
    // Drops what is left of the sound that plays; its play() returns true.
    void stopPlaying() override { m_stop->store(true); }
    // Empty until noteState() has run.
    QStringList notedState() const override;
    // False for lines that stateLines() did not make, or when a line they set
    // a value of is missing now (no mixer at all included); what it can put
    // back it puts back, mute included.
    bool restoreNoted(const QStringList &lines) override;
    bool adoptNoted(const QStringList &lines) override;

private:
    void waitForNoting() const;

    int m_marginMs;
    int m_stallMs;
    // Shared with the thread that plays, which may outlive a play() that gave up on it.
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    bool m_noted = false;
    LineState m_speakers;
    LineState m_wave;
    // Last, so that it goes first: its end waits for the noting thread, which
    // writes the members above.
    std::shared_future<void> m_noting;
};

} // namespace kr31
