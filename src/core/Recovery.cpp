#include "core/Recovery.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <memory>

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

} // namespace

void letGo()
{
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

Plan plan(const QList<Found> &found)
{
    Plan result;
    for (const Editor &e : editors()) {
        for (const Found &f : found) {
            if (f.fileName != e.key + Extension)
                continue;
            if (f.lines && !f.lines->isEmpty() && e.markers.contains(f.lines->first()))
                result.offers.append({e, question(e, f.written), *f.lines});
            else
                result.discard.append(f.fileName);
        }
    }
    for (const Found &f : found) {
        const bool ours = f.fileName.endsWith(Extension) && editor(f.fileName.chopped(Extension.size()));
        if (!ours)
            result.discard.append(f.fileName);
    }
    return result;
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

bool Debounce::due(quint32 now) const
{
    return m_pending && (quint32(now - m_last) >= SettleMs || quint32(now - m_first) >= LongestLagMs);
}

} // namespace kr31::recovery
