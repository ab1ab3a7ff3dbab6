#pragma once

#include "sound/SoundOutputDecorator.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QTimer;

namespace kr31 {

// The program's one player, over another sound output. A transfer's steps
// (startPrepare, startTransfer) run on a worker thread and report on the
// window thread, with how far the sound has got; from startPrepare() to
// finishTransfer() the output is the transfer's: other sounds are refused and
// mixer steps of others skipped. Background sounds (the melody preview, the
// lamp's melody and beeps) play on a worker while the windows go on; anything
// that plays next ends the background sound first.
class ThreadedSoundOutput : public SoundOutputDecorator
{
public:
    explicit ThreadedSoundOutput(SoundOutput &inner);
    // Waits for the worker and a background sound to end.
    ~ThreadedSoundOutput() override;

    // Called on the window thread with (played ms, total ms) while a transfer plays.
    std::function<void(int, int)> onProgress;

    // True from startPrepare() until finishTransfer().
    bool transferring() const { return m_transferring; }

    // Ends a background sound first, then prepares here (blocking).
    void prepare() override;
    // Skipped while a transfer holds the output, and while a background sound
    // that was ended for another reports its end (the next sound sets the mixer).
    void silence() override;
    // Skipped while a transfer holds the output, but at exit.
    void restore(bool atExit) override;
    // Plays here to the end, after ending a background sound; refused while a
    // transfer holds the output.
    bool play(const QString &path, QString *error) override;
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;
    void startPrepare(std::function<void()> done) override;
    void startTransfer(const QString &path, int mode,
                       std::function<void(bool, const QString &, const QString &)> done) override;
    void finishTransfer() override;
    // Plays on a worker thread while the windows take input as usual; done
    // runs on the window thread. An earlier background sound is ended first.
    // False (done not called) while a transfer holds the output.
    bool playInBackground(const QString &path, std::function<void(bool, const QString &)> done) override;
    // Ends the background sound; its done runs before this returns.
    void stopBackground() override { endBackground(false); }

private:
    // Runs work on the worker thread, then `then` on the window thread.
    void onWorker(std::function<void()> work, std::function<void()> then);
    // Ends the background sound (at once, unless it has ended by itself) and
    // runs its done; anotherFollows skips the silence() that done asks for.
    void endBackground(bool anotherFollows);

    std::thread m_worker;
    std::function<void()> m_workerThen;
    std::thread m_background;
    std::atomic<bool> m_backgroundBusy{false};
    std::function<void(bool, const QString &)> m_backgroundDone;
    bool m_backgroundPlayed = false; // written by the worker before it ends
    QString m_backgroundError;
    bool m_transferring = false;
    bool m_quiet = false;
    // Receives the workers' word that they have ended; gone with this
    // output, so that no word reaches an output that is gone.
    std::unique_ptr<QObject> m_receiver = std::make_unique<QObject>();
    QTimer *m_progress = nullptr; // a child of m_receiver
};

} // namespace kr31
