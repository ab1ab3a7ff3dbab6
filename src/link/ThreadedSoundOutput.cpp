#include "link/ThreadedSoundOutput.h"

#include "core/InputBlocker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <thread>

namespace kr31 {

ThreadedSoundOutput::ThreadedSoundOutput(SoundOutput &inner)
    : m_inner(inner)
{
}

ThreadedSoundOutput::~ThreadedSoundOutput()
{
    if (m_background.joinable())
        m_background.join();
}

void ThreadedSoundOutput::prepare()
{
    endBackground(true);
    // It may wait for another program's transfer: the windows keep painting.
    QString unused;
    playBlocking({}, [this](QString *) { return m_inner.prepare(), true; }, &unused);
}

void ThreadedSoundOutput::silence()
{
    if (m_foregroundBusy || m_quiet)
        return;
    m_inner.silence();
}

void ThreadedSoundOutput::endBackground(bool anotherFollows)
{
    if (!m_background.joinable())
        return;
    // Asked until the sound has ended: a stop that came before the worker
    // had begun to play would be missed.
    while (m_backgroundBusy) {
        m_inner.stopPlaying();
        QThread::msleep(2);
    }
    m_background.join();
    const auto done = std::exchange(m_backgroundDone, {});
    if (!done)
        return;
    m_quiet = anotherFollows;
    done(m_backgroundPlayed, m_backgroundError);
    m_quiet = false;
}

bool ThreadedSoundOutput::playInBackground(const QString &path, std::function<void(bool, const QString &)> done)
{
    endBackground(true);
    m_backgroundDone = std::move(done);
    m_backgroundBusy = true;
    m_background = std::thread([this, path] {
        QString reason;
        m_backgroundPlayed = m_inner.play(path, &reason);
        m_backgroundError = reason;
        m_backgroundBusy = false;
        QMetaObject::invokeMethod(m_receiver.get(), [this] { endBackground(false); }, Qt::QueuedConnection);
    });
    return true;
}

bool ThreadedSoundOutput::play(const QString &path, QString *error)
{
    return playBlocking(path, [this, &path](QString *reason) { return m_inner.play(path, reason); }, error);
}

bool ThreadedSoundOutput::playTransfer(const QString &path, int mode, QString *error, QString *warning)
{
    QString note;
    const bool ok = playBlocking(
        path, [&](QString *reason) { return m_inner.playTransfer(path, mode, reason, &note); }, error);
    if (warning)
        *warning = note;
    return ok;
}

bool ThreadedSoundOutput::playBlocking(const QString &path, const std::function<bool(QString *)> &play,
                                       QString *error)
{
    endBackground(true);
    // 8-bit mono at 48 kHz: one byte per sample after the 44-byte header.
    const int totalMs = int(qMax<qint64>(0, QFileInfo(path).size() - 44) / 48);
    std::atomic<bool> done{false};
    bool ok = false;
    QString reason;
    m_foregroundBusy = true;
    std::thread worker([&] {
        ok = play(&reason);
        done = true;
    });
    InputBlocker blocker;
    QElapsedTimer timer;
    timer.start();
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (onProgress)
            onProgress(int(timer.elapsed()), totalMs);
        QThread::msleep(10);
    }
    worker.join();
    m_foregroundBusy = false;
    // A sound that failed does not show as played to its end under its message.
    if (ok && onProgress)
        onProgress(totalMs, totalMs);
    if (!ok && error)
        *error = reason;
    return ok;
}

} // namespace kr31
