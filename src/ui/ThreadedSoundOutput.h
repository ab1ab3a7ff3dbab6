#pragma once

#include "link/SoundOutput.h"

#include <atomic>
#include <functional>
#include <thread>

namespace kr31 {

// Plays through another sound output on a worker thread while the windows
// keep painting (user input is held back until the sound has ended), and
// reports how far the sound has got. The mixer steps pass straight through.
class ThreadedSoundOutput : public SoundOutput
{
public:
    explicit ThreadedSoundOutput(SoundOutput &inner);
    // Waits for a background sound to end.
    ~ThreadedSoundOutput() override;

    // Called on the window thread with (played ms, total ms) while playing.
    std::function<void(int, int)> onProgress;

    void noteState() override { m_inner.noteState(); }
    void prepare() override { m_inner.prepare(); }
    void silence() override { m_inner.silence(); }
    void restore(bool atExit) override { m_inner.restore(atExit); }
    bool play(const QString &path, QString *error) override;
    // Plays on a worker thread while the windows take input as usual; done
    // runs on the window thread.
    bool playInBackground(const QString &path, std::function<void(bool, const QString &)> done) override;

private:
    SoundOutput &m_inner;
    std::thread m_background;
    std::atomic<bool> m_backgroundBusy{false};
};

} // namespace kr31
