#include "core/Recovery.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>

namespace kr31::recovery {

namespace {

const QString Extension = QStringLiteral(".kr3");
const QString LockName = QStringLiteral("kr31.lock");

// The lock of the recovery folder this process asked about last.
struct Claim
{
    QString folder;
    std::unique_ptr<QLockFile> lock;
    bool held = false;
};

Claim &claim()
{
    static Claim c;
    return c;
}

// The program takes the lock on another thread while it makes its windows.
std::mutex &claimMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

void letGo()
{
    std::lock_guard lock(claimMutex());
    Claim &c = claim();
    c.lock.reset();
    c.folder.clear();
    c.held = false;
}

QString lockPath()
{
    return folder() + LockName;
}

bool keepsCopies()
{
    std::lock_guard lock(claimMutex());
    Claim &c = claim();
    const QString dir = folder();
    if (c.folder != dir) {
        c.lock.reset(); // the work folder moved: the old folder is let go
        c.folder = dir;
        c.lock = std::make_unique<QLockFile>(lockPath());
        // Only a lock whose process is gone is stale, however long a kr31 has run.
        c.lock->setStaleLockTime(0);
        c.held = c.lock->tryLock(0);
        // A lock that names this very process was left by an earlier one that
        // had the same number (a restart after a power cut can hand it out
        // again): nobody holds it.
        qint64 pid = 0;
        QString host;
        QString app;
        if (!c.held && c.lock->getLockInfo(&pid, &host, &app) && pid == QCoreApplication::applicationPid()) {
            c.lock->removeStaleLockFile();
            c.held = c.lock->tryLock(0);
        }
    }
    return c.held;
}

const QList<Editor> &editors()
{
    static const QList<Editor> list = {
        {QStringLiteral("Icon"), 8, msg::RecoveryIconWork,
         {QStringLiteral("LED"), QStringLiteral("DD"), QStringLiteral("LITE")}},
        {QStringLiteral("Flowchart"), 5, msg::RecoveryFlowchartWork, {QStringLiteral("FURO"), QStringLiteral("LED")}},
        {QStringLiteral("Text"), 9, msg::RecoveryTextWork, {QStringLiteral("WORD"), QStringLiteral("LED")}},
        {QStringLiteral("Melody"), 4, msg::RecoveryMelodyWork, {QStringLiteral("MELODY")}},
    };
    return list;
}

const Editor *editor(const QString &key)
{
    for (const Editor &e : editors()) {
        if (e.key == key)
            return &e;
    }
    return nullptr;
}

QString folder()
{
    const QString path = workfolder::stateLocation() + QStringLiteral("recovery/");
    QDir().mkpath(path);
    return path;
}

QString stateProblem()
{
    const QString state = workfolder::stateLocation();
    for (const QString &dir : {state, state + QStringLiteral("recovery/")}) {
        QDir().mkpath(dir);
        // Named after the lock, which is never taken for a copy.
        const QString probe = dir + LockName + QStringLiteral(".probe");
        QString why;
        if (!textfile::writeAtomically(probe, QByteArray(), &why, textfile::Durability::Scratch))
            return why;
        QFile::remove(probe);
    }
    return {};
}

QString oldFolder()
{
    return workfolder::location() + QStringLiteral("Recovery/");
}

QString copyPath(const QString &key)
{
    return folder() + key + Extension;
}

bool writeCopy(const QString &key, const QByteArray &bytes, QString *error)
{
    if (!keepsCopies()) {
        if (error)
            *error = QStringLiteral("another kr31 keeps the recovery copies");
        return false;
    }
    return textfile::writeAtomically(copyPath(key), bytes, error);
}

void removeCopy(const QString &key)
{
    if (keepsCopies())
        QFile::remove(copyPath(key));
}

namespace {

// The editor whose copy a file in the recovery folder is: "<key>.kr3" (the
// copy a run keeps) or "<key>-<when>.kr3" (a copy of an earlier run set aside).
const Editor *copyOf(const QString &fileName)
{
    if (!fileName.endsWith(Extension))
        return nullptr;
    const QString stem = fileName.chopped(Extension.size());
    if (const Editor *e = editor(stem))
        return e;
    const qsizetype dash = stem.indexOf(u'-');
    if (dash < 0)
        return nullptr;
    const QString when = stem.mid(dash + 1);
    for (const QChar c : when) {
        if (!c.isDigit() && c != u'-')
            return nullptr;
    }
    return when.isEmpty() ? nullptr : editor(stem.left(dash));
}

// True when path (a trailing '/' ignored) is a real folder or file of its
// own, not a link: lstat, so a link is never followed.
bool isOwn(const QString &path, mode_t type)
{
    struct stat st;
    const QByteArray name = QFile::encodeName(path.endsWith(u'/') ? path.chopped(1) : path);
    return ::lstat(name.constData(), &st) == 0 && (st.st_mode & S_IFMT) == type;
}

// The files in path (but its lock), links left out; with onlyCopies, only
// those named as a copy of ours.
QFileInfoList filesIn(const QString &path, bool onlyCopies = false)
{
    QFileInfoList files;
    const auto filter = QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks;
    for (const QFileInfo &info : QDir(path).entryInfoList(filter, QDir::Name)) {
        if (!info.fileName().startsWith(LockName) && (!onlyCopies || copyOf(info.fileName())))
            files.append(info);
    }
    return files;
}

// stem + extension, or stem + "-2" + extension... when folder holds that name.
QString freeName(const QString &folder, const QString &stem, const QString &extension)
{
    QString name = stem + extension;
    for (int n = 2; QFileInfo::exists(folder + name); ++n)
        name = stem + u'-' + QString::number(n) + extension;
    return name;
}

// Moves a file into folder under a name not taken there, keeping its time;
// never leaves it in both places, never in neither.
bool moveInto(const QFileInfo &file, const QString &folder)
{
    if (!isOwn(file.filePath(), S_IFREG))
        return false; // became a link (or something else) since it was listed
    const QString extension = file.fileName().mid(file.completeBaseName().size());
    QString stem = file.completeBaseName();
    if (QFileInfo::exists(folder + file.fileName()))
        stem += u'-' + file.lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString target = folder + freeName(folder, stem, extension);
    const QByteArray from = QFile::encodeName(file.filePath());
    const QByteArray to = QFile::encodeName(target);
    if (::rename(from.constData(), to.constData()) == 0)
        return true;
    if (errno != EXDEV)
        return false;
    // Another disk: a synced copy with the old file's time, then the old file goes.
    const auto bytes = textfile::readBytes(file.filePath(), textfile::TextLimit);
    if (!bytes || !textfile::writeAtomically(target, *bytes))
        return false;
    const qint64 ms = file.lastModified().toMSecsSinceEpoch();
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long(ms % 1000) * 1000000}};
    ::utimensat(AT_FDCWD, to.constData(), times, 0);
    if (QFile::remove(file.filePath()))
        return true;
    QFile::remove(target);
    return false;
}

// Moves the copies of an earlier version into folder(); true when what is
// left in oldFolder() is ours to read (no older kr31 is running on it). Only
// files named as our copies are touched; a link, as the folder or in it, is
// the learner's and is never followed.
bool moveOldCopies()
{
    const QString old = oldFolder();
    if (!isOwn(old, S_IFDIR))
        return false;
    QLockFile lock(old + LockName);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return lock.error() != QLockFile::LockFailedError; // a folder we cannot write is still read
    const QString to = folder();
    for (const QFileInfo &file : filesIn(old, true))
        moveInto(file, to);
    lock.unlock();
    QDir().rmdir(old); // only when it is empty
    return isOwn(old, S_IFDIR);
}

} // namespace

QList<Found> findCopies()
{
    QList<Found> found;
    if (!keepsCopies())
        return found;
    QStringList folders{folder()};
    if (moveOldCopies())
        folders.append(oldFolder());
    for (const QString &dir : folders) {
        for (const QFileInfo &info : filesIn(dir, dir != folders.first()))
            found.append({info.fileName(), info.lastModified(), textfile::readLines(info.filePath()), dir});
    }
    return found;
}

Plan plan(const QList<Found> &found)
{
    Plan result;
    for (const Editor &e : editors()) {
        QList<Found> copies;
        for (const Found &f : found) {
            if (copyOf(f.fileName) != editor(e.key))
                continue;
            if (f.lines && !f.lines->isEmpty() && e.markers.contains(f.lines->first()))
                copies.append(f);
            else
                result.discard.append(f.folder + f.fileName);
        }
        std::stable_sort(copies.begin(), copies.end(),
                         [](const Found &a, const Found &b) { return a.written > b.written; });
        for (const Found &f : copies)
            result.offers.append({e, question(e, f.written), *f.lines, f.fileName, f.written, f.folder});
    }
    for (const Found &f : found) {
        if (!copyOf(f.fileName))
            result.discard.append(f.folder + f.fileName);
    }
    return result;
}

QString setAside(const Offer &offer)
{
    if (offer.fileName != offer.editor.key + Extension || offer.folder != folder())
        return offer.fileName; // set aside already, or where this run writes no copy
    const QString stem = offer.editor.key + u'-' + offer.written.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString name = freeName(folder(), stem, Extension);
    return keepsCopies() && QFile::rename(folder() + offer.fileName, folder() + name) ? name : offer.fileName;
}

QString question(const Editor &editor, const QDateTime &written)
{
    const QString when = msg::recoveryTime(written.date().month(), written.date().day(),
                                           written.time().toString(QStringLiteral("HH:mm")));
    return msg::recoveryQuestion(editor.work, when);
}

void Debounce::edited(quint32 now)
{
    if (!m_pending)
        m_first = now;
    m_pending = true;
    m_last = now;
}

quint32 Debounce::msUntilDue(quint32 now) const
{
    if (!m_pending)
        return 0;
    const quint32 sinceLast = now - m_last;
    const quint32 sinceFirst = now - m_first;
    const quint32 settle = sinceLast >= SettleMs ? 0 : SettleMs - sinceLast;
    const quint32 lag = sinceFirst >= LongestLagMs ? 0 : LongestLagMs - sinceFirst;
    return qMin(settle, lag);
}

bool Debounce::due(quint32 now) const
{
    return m_pending && (quint32(now - m_last) >= SettleMs || quint32(now - m_first) >= LongestLagMs);
}

} // namespace kr31::recovery
