#pragma once

#include "link/SoundOutput.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
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
    // Skipped while a sound of ours plays, and while a background sound that
    // was ended for another reports its end (the next sound sets the mixer).
    void silence() override;
    void restore(bool atExit) override { m_inner.restore(atExit); }
    bool play(const QString &path, QString *error) override;
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;
    void stopPlaying() override { m_inner.stopPlaying(); }
    QStringList notedState() const override { return m_inner.notedState(); }
    bool restoreNoted(const QStringList &lines) override { return m_inner.restoreNoted(lines); }
    bool adoptNoted(const QStringList &lines) override { return m_inner.adoptNoted(lines); }
    // Plays on a worker thread while the windows take input as usual; done
    // runs on the window thread. An earlier background sound is ended first.
    bool playInBackground(const QString &path, std::function<void(bool, const QString &)> done) override;
    // Ends the background sound; its done runs before this returns.
    void stopBackground() override { endBackground(false); }

private:
    bool playBlocking(const QString &path, const std::function<bool(QString *)> &play, QString *error);
    // Ends the background sound (at once, unless it has ended by itself) and
    // runs its done; anotherFollows skips the silence() that done asks for.
    void endBackground(bool anotherFollows);

    SoundOutput &m_inner;
    std::thread m_background;
    std::atomic<bool> m_backgroundBusy{false};
    std::function<void(bool, const QString &)> m_backgroundDone;
    bool m_backgroundPlayed = false; // written by the worker before it ends
    QString m_backgroundError;
    bool m_foregroundBusy = false;
    bool m_quiet = false;
    // Receives the worker's word that the sound has ended; gone with this
    // output, so that no word reaches an output that is gone.
    std::unique_ptr<QObject> m_receiver = std::make_unique<QObject>();
};

} // namespace kr31
