#include "core/Recovery.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <memory>
#include <mutex>

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
    const QString path = workfolder::path() + QStringLiteral("Recovery/");
    QDir().mkpath(path);
    return path;
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

QList<Found> findCopies()
{
    QList<Found> found;
    if (!keepsCopies())
        return found;
    const QDir dir(folder());
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (info.fileName().startsWith(LockName))
            continue;
        found.append({info.fileName(), info.lastModified(), textfile::readLines(info.filePath())});
    }
    return found;
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

} // namespace

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
                result.discard.append(f.fileName);
        }
        std::stable_sort(copies.begin(), copies.end(),
                         [](const Found &a, const Found &b) { return a.written > b.written; });
        for (const Found &f : copies)
            result.offers.append({e, question(e, f.written), *f.lines, f.fileName, f.written});
    }
    for (const Found &f : found) {
        if (!copyOf(f.fileName))
            result.discard.append(f.fileName);
    }
    return result;
}

QString setAside(const Offer &offer)
{
    if (offer.fileName != offer.editor.key + Extension)
        return offer.fileName; // set aside already
    const QString stem = offer.editor.key + u'-' + offer.written.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stem + Extension;
    for (int n = 2; QFileInfo::exists(folder() + name); ++n)
        name = stem + u'-' + QString::number(n) + Extension;
    return keepsCopies() && QFile::rename(folder() + offer.fileName, folder() + name) ? name : offer.fileName;
}

QString question(const Editor &editor, const QDateTime &written)
{
    const QString when = QStringLiteral("%1月%2日 %3")
                             .arg(written.date().month())
                             .arg(written.date().day())
                             .arg(written.time().toString(QStringLiteral("HH:mm")));
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
