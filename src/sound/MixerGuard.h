#pragma once

#include "sound/SoundOutputDecorator.h"

#include <atomic>
#include <future>
#include <mutex>
#include <optional>

namespace kr31 {

// Where a run keeps the mixer state it has changed until it puts it back:
// $XDG_STATE_HOME/kr31/mixer-state, else ~/.local/state/kr31/mixer-state.
QString mixerStatePath();

// "PID START" for a process that runs now: the same text for as long as it
// runs, never the same for a later process given the same id. Empty when no
// such process runs (one that has ended and waits to be reaped included).
QString processStamp(qint64 pid);

// A SoundOutput around another that brings the user's mixer back however the
// program ends. Before the run first changes the mixer it writes the inner
// output's noted state, with this process's stamp, to a state file, and it
// removes the file after restore(true). noteState() first puts back a state
// left by a process that has ended (killed), so that its 100 % or muted lines
// are never taken for the user's; a state of a process that still runs
// (another of ours in the middle of a transfer) becomes this run's own noted
// state, and its file is left to that process. A broken or foreign file is
// removed. Every step is safe from any thread (a signal's watcher restores).
class MixerGuard final : public SoundOutputDecorator
{
public:
    // statePath: the state file; its folder is made when the file is written.
    explicit MixerGuard(SoundOutput &inner, QString statePath = mixerStatePath());
    // Waits for noteStateMeanwhile() to finish.
    ~MixerGuard() override;

    // noteState() on another thread; every other mixer step waits for it.
    // Call once, before any of them.
    void noteStateMeanwhile();
    void noteState() override;
    // The state of a running process that noteState() took, else the inner output's.
    QStringList notedState() const override;
    bool restoreNoted(const QStringList &lines) override;
    // The first change of the mixer in a run (prepare, silence or
    // restore(false)) writes the state file first; nothing happens to the
    // file when nothing was noted.
    void prepare() override;
    void silence() override;
    // Puts back the noted state (one taken from a running process with
    // restoreNoted()); restore(true) then removes the state file if it is
    // ours. Does nothing before noteState().
    void restore(bool atExit) override;

    // Passed on only while a play runs through this guard.
    void stopPlaying() override;
    bool play(const QString &path, QString *error) override;
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;

private:
    void noteNow();
    void waitForNoting() const;
    // These two with m_mutex held.
    void beforeChange();
    QStringList noted() const;

    QString m_path;
    mutable std::mutex m_mutex;
    bool m_noted = false;
    bool m_ownsFile = false;
    // The state of a process that was changing the mixer when we noted it.
    std::optional<QStringList> m_adopted;
    std::atomic<int> m_playing{0};
    mutable std::mutex m_notingMutex; // the noting thread holds m_mutex
    // Last, so that it goes first: its end waits for the noting thread.
    std::shared_future<void> m_noting;
};

} // namespace kr31
