#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Recovery copies: while an editor holds unsaved work, a copy of it (in the
// editor's own file format) stands in the folder "recovery" of the user's
// state folder (not among the learner's files), so that a crash, a kill or a
// power cut loses at most the last couple of seconds. The next start offers
// each copy back. Earlier versions kept them in the work folder's "Recovery":
// the first look moves them over.
namespace kr31::recovery {

// An editor that keeps copies: its key (the copy is "<key>.kr3"), its window
// number, what the question calls its work, and the markers its open accepts.
struct Editor
{
    QString key;
    int form = 0;
    QString work;
    QStringList markers;
};

// The editors that keep copies, in the order their questions come.
const QList<Editor> &editors();
// The editor of key, or nullptr.
const Editor *editor(const QString &key);

// Why the state folder (workfolder::stateLocation(), which holds the copies
// and the noted mixer state) or its recovery folder cannot be used, worded as
// the write path words it (a file in its place, a read-only disk...); empty
// when both can. Makes them and writes and removes a scratch file in each.
QString stateProblem();

// The recovery folder, "recovery/" in workfolder::stateLocation(), ending
// with '/' (created).
QString folder();
// Where earlier versions kept the copies: "Recovery/" in the work folder.
QString oldFolder();
// The copy of an editor: folder() + key + ".kr3".
QString copyPath(const QString &key);

// True when this process keeps the copies of the recovery folder. The first
// process to ask takes the folder's lock and holds it while it runs; another
// kr31 running at the same time gets false for good and leaves the copies
// alone (it neither offers, removes nor writes them). A lock left by a process
// that no longer runs (killed) is taken over. Safe from any thread.
bool keepsCopies();
// The lock file of the recovery folder.
QString lockPath();
// Lets go of the folder's lock, if this process holds it; the next look decides again.
void letGo();

// Writes a copy through the one safe write path; false (and *error) when it
// failed or another running kr31 keeps the copies.
bool writeCopy(const QString &key, const QByteArray &bytes, QString *error = nullptr);
// Removes a copy; a missing copy is no fault. Does nothing when another
// running kr31 keeps the copies.
void removeCopy(const QString &key);

// A file found in the recovery folder: its name, when it was written, its
// lines (nullopt when it could not be read), and the folder it is in (ending
// with '/'): folder(), or oldFolder() for a copy that could not be moved.
struct Found
{
    QString fileName;
    QDateTime written;
    std::optional<QStringList> lines;
    QString folder;
};
// Every file in the recovery folder (but its lock), read through the bounded
// reader; none when another running kr31 keeps the copies. First moves the
// copies in oldFolder() into folder() (a name already taken gets the file's
// time added, as setAside names it; the file keeps its time) and removes
// oldFolder() once it is empty. Only files named as our copies are moved or
// found there; other files, and links (oldFolder() itself being one, or an
// entry in it), are left as they are. A copy that cannot be moved (another
// disk that is full...) stays where it was and is found there. Links in
// folder() are not found either.
QList<Found> findCopies();

// A copy to offer: the editor, the question to ask, the lines to restore,
// and the file in the recovery folder they came from, written when.
struct Offer
{
    Editor editor;
    QString question;
    QStringList lines;
    QString fileName;
    QDateTime written;
    QString folder;
};
// What to do with the files found: offer the good copies (in the editors'
// order, an editor's newest first) and remove the rest without a word: names
// no editor keeps, files that could not be read, are empty, or whose marker
// the editor's open does not accept. An editor's copies are "<key>.kr3", the
// one a run keeps, and "<key>-<when>.kr3", earlier ones set aside at a start.
struct Plan
{
    QList<Offer> offers;
    QStringList discard; // paths: a file's folder and name
};
Plan plan(const QList<Found> &found);

// Renames the file of a copy left by an earlier run to
// "<key>-<yyyyMMdd-HHmmss>.kr3" (the time it was written; "-2", "-3"... when
// that is taken), so that this run's own copy of the editor never writes over
// it; answers the new name, or the old one when the file could not be moved
// (or lies outside folder(), where no copy of this run is written).
QString setAside(const Offer &offer);

// The question for a copy of work written at a time, e.g.
// "アイコンでつくったプログラムが保存されずに残っています（12月7日 23:40）。\nもどしますか？"
QString question(const Editor &editor, const QDateTime &written);

// When to write a copy, on the millisecond tick count (wrapping at 32 bits):
// once edits have paused for SettleMs, or SettleMs after the first unwritten
// edit while edits go on without a pause, so a copy is never written per
// keystroke and never lags the work by more than LongestLagMs.
class Debounce
{
public:
    static constexpr quint32 SettleMs = 1000;
    static constexpr quint32 LongestLagMs = 1500;

    // An edit at now.
    void edited(quint32 now);
    // True when a copy is owed and should be written at now.
    bool due(quint32 now) const;
    // Milliseconds from now until a copy is due, unless more edits come; 0
    // when it is due now or nothing is owed.
    quint32 msUntilDue(quint32 now) const;
    // True when edits are waiting for a copy.
    bool pending() const { return m_pending; }
    // The copy was written (or the work dropped): nothing is owed.
    void clear() { m_pending = false; }

private:
    bool m_pending = false;
    quint32 m_first = 0;
    quint32 m_last = 0;
};

} // namespace kr31::recovery
