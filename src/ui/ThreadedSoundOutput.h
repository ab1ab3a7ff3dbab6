#pragma once

#include "link/SoundOutput.h"

#include <atomic>
#include <functional>
#include <thread>

namespace kr31 {

// Plays through another sound output on a worker thread while the windows
// keep painting (user input is held back until the sound has ended), and
// reports how far the sound has got. It is the program's one player: a sound
// played while a background sound (the melody preview, the lamp's melody)
// still plays ends that one first, and so does a transfer's prepare().
class ThreadedSoundOutput : public SoundOutput
{
public:
    explicit ThreadedSoundOutput(SoundOutput &inner);
    // Waits for a background sound to end.
    ~ThreadedSoundOutput() override;

    // Called on the window thread with (played ms, total ms) while playing.
    std::function<void(int, int)> onProgress;

    void noteState() override { m_inner.noteState(); }
    // Ends a background sound first: a transfer never plays over it.
    void prepare() override;
    // Skipped while a sound of ours plays (a background sound that was ended
    // for another reports its end after that one has begun).
    void silence() override;
    void restore(bool atExit) override { m_inner.restore(atExit); }
    bool play(const QString &path, QString *error) override;
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;
    void stopPlaying() override { m_inner.stopPlaying(); }
    QStringList notedState() const override { return m_inner.notedState(); }
    bool restoreNoted(const QStringList &lines) override { return m_inner.restoreNoted(lines); }
    // Plays on a worker thread while the windows take input as usual; done
    // runs on the window thread. An earlier background sound is ended first.
    bool playInBackground(const QString &path, std::function<void(bool, const QString &)> done) override;
    void stopBackground() override;

private:
    bool playBlocking(const QString &path, const std::function<bool(QString *)> &play, QString *error);

    SoundOutput &m_inner;
    std::thread m_background;
    std::atomic<bool> m_backgroundBusy{false};
    bool m_foregroundBusy = false;
};

} // namespace kr31
