#include "sound/SoundTurn.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kr31 {

namespace {

// How often a waiting play looks whether the turn is free.
constexpr std::chrono::milliseconds PollInterval{50};

bool heldByAnother(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

} // namespace

QString soundTurnPath()
{
    return workfolder::runtimeLocation() + QStringLiteral("kr31-sound.lock");
}

SoundTurn::SoundTurn(SoundOutput &inner, std::function<void(bool)> waiting, int giveUpMs, QString lockPath)
    : SoundOutputDecorator(inner)
    , m_waiting(std::move(waiting))
    , m_giveUpMs(giveUpMs)
    , m_lockPath(std::move(lockPath))
{
}

SoundTurn::~SoundTurn()
{
    const std::lock_guard lock(m_mutex);
    release();
}

void SoundTurn::release()
{
    if (m_fd >= 0)
        ::close(m_fd); // ends the lock
    m_fd = -1;
}

SoundTurn::Turn SoundTurn::takeTurn(QString *error)
{
    std::unique_lock lock(m_mutex);
    m_stop = false;
    if (m_fd >= 0)
        return Turn::Taken;
    const QByteArray name = QFile::encodeName(m_lockPath);
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) // another user's file in a shared temp folder can still be locked
        fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !heldByAnother(fd)) {
        m_fd = fd; // a file system without locks plays without a turn
        return Turn::Taken;
    }

    lock.unlock();
    if (m_waiting)
        m_waiting(true);
    lock.lock();
    const auto giveUpAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_giveUpMs);
    Turn turn = Turn::Taken;
    while (heldByAnother(fd)) {
        if (m_stop || std::chrono::steady_clock::now() >= giveUpAt) {
            turn = m_stop ? Turn::Stopped : Turn::GaveUp;
            ::close(fd);
            break;
        }
        m_stopped.wait_for(lock, PollInterval);
    }
    if (turn == Turn::Taken)
        m_fd = fd;
    const bool prepareAgain = turn == Turn::Taken && m_prepared;
    lock.unlock();
    if (m_waiting)
        m_waiting(false);
    // The other transfer's silence() has muted the speakers meanwhile.
    if (prepareAgain)
        m_inner.prepare();
    if (turn == Turn::GaveUp && error)
        *error = msg::noTurn(m_giveUpMs / 1000);
    return turn;
}

bool SoundTurn::playInTurn(const QString &path, const std::function<bool()> &play, QString *error)
{
    {
        // A transfer whose prepare() waited in vain (or was stopped) plays nothing.
        const std::lock_guard lock(m_mutex);
        if (m_refusal) {
            const QString why = *std::exchange(m_refusal, std::nullopt);
            if (!why.isEmpty() && error)
                *error = why;
            return why.isEmpty();
        }
    }
    // A sound played without a transfer's prepare (a preview) writes its file
    // before its turn: a file that another process wrote meanwhile is not played.
    const std::optional<QByteArray> ours = textfile::readBytes(path, textfile::SoundLimit);
    const Turn turn = takeTurn(error);
    if (turn != Turn::Taken)
        return turn == Turn::Stopped;
    if (ours && textfile::readBytes(path, textfile::SoundLimit) != ours)
        textfile::writeAtomically(path, *ours, nullptr, textfile::Durability::Scratch);
    const bool played = play();
    const std::lock_guard lock(m_mutex);
    if (!m_prepared)
        release();
    return played;
}

bool SoundTurn::play(const QString &path, QString *error)
{
    return playInTurn(path, [&] { return m_inner.play(path, error); }, error);
}

bool SoundTurn::playTransfer(const QString &path, int mode, QString *error, QString *warning)
{
    return playInTurn(path, [&] { return m_inner.playTransfer(path, mode, error, warning); }, error);
}

void SoundTurn::prepare()
{
    // A transfer takes its turn before its sound file is written (every
    // process of ours writes the same file) and keeps it until silence().
    QString error;
    const Turn turn = takeTurn(&error);
    {
        const std::lock_guard lock(m_mutex);
        m_prepared = true;
        if (turn != Turn::Taken)
            m_refusal = turn == Turn::Stopped ? QString() : error;
    }
    m_inner.prepare();
}

void SoundTurn::silence()
{
    m_inner.silence();
    const std::lock_guard lock(m_mutex);
    m_prepared = false;
    m_refusal.reset();
    release();
}

void SoundTurn::restore(bool atExit)
{
    {
        const std::lock_guard lock(m_mutex);
        m_prepared = false;
        m_refusal.reset();
        release();
    }
    m_inner.restore(atExit);
}

void SoundTurn::stopPlaying()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_stopped.notify_all();
    m_inner.stopPlaying();
}

} // namespace kr31
