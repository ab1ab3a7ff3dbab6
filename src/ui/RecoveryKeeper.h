#pragma once

#include "core/Recovery.h"
#include "core/Services.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace kr31 {

// Keeps the recovery copy of one editor's unsaved work.
//
// To plug an editor in:
//  1. Declare its mark as `ModifiedMark m_modified;` instead of a bool (every
//     `m_modified = ...` then reaches the keeper: true schedules a copy, false
//     removes it, so a save, a reset, an open, and Menu/Bye answered No all
//     drop the copy where they already clear the mark).
//  2. In its constructor:
//       m_modified.keepWith(new RecoveryKeeper(this, services().clock, QStringLiteral("Icon"),
//           [this] { return <the bytes File_Save would write>; },
//           [this](const QStringList &lines) { return <open lines as File_Open does>; }));
//     The restore returns false when it took nothing (then it shows nothing);
//     after a restore the keeper sets the mark through markModified.
//  An editor whose mark is not a plain member (a model field, a text
//  control's own flag) calls edited() where an edit sets it and discard()
//  where it is cleared, and sets markModified to set it.
//  3. Give the key a row in recovery::editors() (window number, markers).
// Start-up finds the keepers among the windows' children, offers their copies
// and removes all copies at a clean exit.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    using Snapshot = std::function<QByteArray()>;
    using Restore = std::function<bool(const QStringList &)>;

    RecoveryKeeper(QObject *editor, Clock &clock, QString key, Snapshot snapshot, Restore restore);

    const QString &key() const { return m_key; }
    // The work changed: a copy follows once the edits settle.
    void edited();
    // The work was saved or dropped: no copy is owed, and the copy this run
    // wrote is removed (a copy from an earlier run is left to the start-up offer).
    void discard();
    // Writes the copy now when one is due (the keeper's timer calls it when
    // the copy falls due).
    void poll();
    // Opens recovered lines in the editor, marks it modified and writes its
    // copy at once; false when the editor took nothing.
    bool restore(const QStringList &lines);
    // True when the copy on disk is this run's own.
    bool hasOwnCopy() const { return m_wrote; }
    // True when this run has written a copy or owes one.
    bool active() const { return m_wrote || m_debounce.pending(); }
    // Sets the editor's mark after a restore (bound by ModifiedMark::keepWith).
    std::function<void()> markModified;

private:
    void write();

    Clock &m_clock;
    QString m_key;
    Snapshot m_snapshot;
    Restore m_restore;
    recovery::Debounce m_debounce;
    QTimer m_timer;
    bool m_wrote = false;
};

// An editor's modified mark that keeps its recovery copy in step: it reads
// and assigns like the bool it replaces.
class ModifiedMark
{
public:
    ModifiedMark() = default;
    ModifiedMark(const ModifiedMark &) = delete;
    ModifiedMark &operator=(const ModifiedMark &) = delete;
    ModifiedMark &operator=(bool on)
    {
        m_on = on;
        if (m_keeper)
            on ? m_keeper->edited() : m_keeper->discard();
        return *this;
    }
    operator bool() const { return m_on; }
    // Binds the keeper (owned by the editor); a restore sets this mark.
    void keepWith(RecoveryKeeper *keeper)
    {
        m_keeper = keeper;
        keeper->markModified = [this] { *this = true; };
    }

private:
    bool m_on = false;
    RecoveryKeeper *m_keeper = nullptr;
};

} // namespace kr31
