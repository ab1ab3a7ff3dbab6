#include "core/Recovery.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"

#include <QDir>
#include <QFileInfo>

namespace kr31::recovery {

namespace {

const QString Extension = QStringLiteral(".kr3");

} // namespace

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
    return textfile::writeAtomically(copyPath(key), bytes, error);
}

void removeCopy(const QString &key)
{
    QFile::remove(copyPath(key));
}

QList<Found> findCopies()
{
    QList<Found> found;
    const QDir dir(folder());
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
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
