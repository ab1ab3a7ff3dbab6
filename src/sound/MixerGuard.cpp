#include "sound/MixerGuard.h"

#include "core/TextFile.h"
#include "core/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace kr31 {

namespace {

const QString Marker = QStringLiteral("KR31 MIXER STATE");

enum class Owner { None, Ended, Running, Us };

// What a state file holds and whose it is.
struct LeftState
{
    Owner owner = Owner::None;
    QStringList lines;
};

QString ownStamp()
{
    static const QString stamp = processStamp(::getpid());
    return stamp;
}

// The program file a process runs, as the kernel names it ("... (deleted)"
// after an update replaced it); empty when it cannot be seen (another user's).
QString programOf(qint64 pid)
{
    const QByteArray link = pid > 0 ? "/proc/" + QByteArray::number(pid) + "/exe" : "/proc/self/exe";
    char target[4096];
    const ssize_t size = ::readlink(link.constData(), target, sizeof target);
    if (size <= 0 || size == ssize_t(sizeof target))
        return {};
    QString path = QFile::decodeName(QByteArray(target, int(size)));
    if (path.endsWith(QLatin1String(" (deleted)")))
        path.chop(10);
    return path;
}

// Whether a running process is one of ours, as this user: kr31, kr31-cli or
// this very program. Any other process that happens to carry the id and
// start time a file names (pid 1, a process of another user) is not, and
// its file is a leftover.
bool isOurs(qint64 pid)
{
    struct stat info;
    if (::stat(QByteArray("/proc/" + QByteArray::number(pid)).constData(), &info) != 0 || info.st_uid != ::getuid())
        return false;
    static const QString own = programOf(0);
    const QString program = programOf(pid);
    const QString name = QFileInfo(program).fileName();
    return !program.isEmpty() && (program == own || name == QLatin1String("kr31") || name == QLatin1String("kr31-cli"));
}

// The state file at path; a broken or foreign one is removed and reads as none.
LeftState readLeft(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    const std::optional<QStringList> lines = textfile::readLines(path);
    const QStringList stamp = lines && lines->size() > 2 ? lines->at(1).split(u' ') : QStringList();
    bool ok = false;
    const qint64 pid = stamp.size() == 2 ? stamp.at(0).toLongLong(&ok) : 0;
    if (!ok || pid <= 0 || lines->at(0) != Marker) {
        QFile::remove(path);
        return {};
    }
    const Owner owner = processStamp(pid) != lines->at(1) ? Owner::Ended
                        : pid == ::getpid()               ? Owner::Us
                        : isOurs(pid)                     ? Owner::Running
                                                          : Owner::Ended;
    return {owner, lines->mid(2)};
}

} // namespace

QString mixerStatePath()
{
    return workfolder::stateLocation() + QStringLiteral("mixer-state");
}

QString processStamp(qint64 pid)
{
    // A kernel file whose size reads as 0: read directly, a bounded amount.
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.read(4096);
    // After the name in brackets (which may hold spaces): the state, field 3
    // of the line, and 19 fields later the start time.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20 || fields.at(0) == "Z" || fields.at(0) == "X")
        return {};
    return QStringLiteral("%1 %2").arg(pid).arg(QString::fromLatin1(fields.at(19)));
}

MixerGuard::MixerGuard(SoundOutput &inner, QString statePath)
    : SoundOutputDecorator(inner)
    , m_path(std::move(statePath))
{
}

MixerGuard::~MixerGuard()
{
    waitForNoting();
}

void MixerGuard::noteStateMeanwhile()
{
    const std::lock_guard lock(m_notingMutex);
    m_noting = std::async(std::launch::async, [this] { noteNow(); }).share();
}

void MixerGuard::waitForNoting() const
{
    std::shared_future<void> noting;
    {
        const std::lock_guard lock(m_notingMutex);
        noting = m_noting;
    }
    if (noting.valid())
        noting.wait();
}

void MixerGuard::noteState()
{
    waitForNoting();
    noteNow();
}

void MixerGuard::noteNow()
{
    const std::lock_guard lock(m_mutex);
    m_adopted.reset();
    m_ownsFile = false;
    const LeftState left = readLeft(m_path);
    if (left.owner == Owner::Ended) {
        m_inner.restoreNoted(left.lines); // refused when foreign: the file goes all the same
        QFile::remove(m_path);
    } else if (left.owner != Owner::None) {
        m_adopted = left.lines;
        m_ownsFile = left.owner == Owner::Us;
    }
    m_inner.noteState();
    // Taken by the inner output, the state comes back as its own would:
    // restore(false) unmutes the speakers, restore(true) puts the mute back.
    if (m_adopted && m_inner.adoptNoted(*m_adopted))
        m_adopted.reset();
    m_noted = true;
}

void MixerGuard::beforeChange()
{
    if (!m_noted || m_ownsFile)
        return;
    // While the process we took the state from runs, its file keeps that
    // state; once it has ended ours takes over.
    if (readLeft(m_path).owner == Owner::Running)
        return;
    const QStringList lines = noted();
    if (lines.isEmpty())
        return;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // It must outlive a killed process, not a power cut (the mixer starts
    // afresh then): not synced, so that a Send is not held up by the disk.
    m_ownsFile = textfile::writeAtomically(m_path, textfile::encodeLines(QStringList{Marker, ownStamp()} + lines),
                                           nullptr, textfile::Durability::Scratch);
}

QStringList MixerGuard::noted() const
{
    return m_adopted ? *m_adopted : m_inner.notedState();
}

void MixerGuard::prepare()
{
    waitForNoting();
    const std::lock_guard lock(m_mutex);
    beforeChange();
    m_inner.prepare();
}

void MixerGuard::silence()
{
    waitForNoting();
    const std::lock_guard lock(m_mutex);
    beforeChange();
    m_inner.silence();
}

void MixerGuard::restore(bool atExit)
{
    waitForNoting();
    const std::lock_guard lock(m_mutex);
    if (!m_noted)
        return;
    if (!atExit)
        beforeChange();
    if (m_adopted)
        m_inner.restoreNoted(*m_adopted);
    else
        m_inner.restore(atExit);
    if (atExit && m_ownsFile) {
        QFile::remove(m_path);
        m_ownsFile = false;
    }
}

bool MixerGuard::play(const QString &path, QString *error)
{
    ++m_playing;
    const bool played = m_inner.play(path, error);
    --m_playing;
    return played;
}

bool MixerGuard::playTransfer(const QString &path, int mode, QString *error, QString *warning)
{
    ++m_playing;
    const bool played = m_inner.playTransfer(path, mode, error, warning);
    --m_playing;
    return played;
}

void MixerGuard::stopPlaying()
{
    if (m_playing > 0)
        m_inner.stopPlaying();
}

QStringList MixerGuard::notedState() const
{
    waitForNoting();
    const std::lock_guard lock(m_mutex);
    return noted();
}

bool MixerGuard::restoreNoted(const QStringList &lines)
{
    waitForNoting();
    const std::lock_guard lock(m_mutex);
    return m_inner.restoreNoted(lines);
}

} // namespace kr31
