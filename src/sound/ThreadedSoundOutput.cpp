#include "sound/ThreadedSoundOutput.h"

#include "core/Messages.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

namespace kr31 {

namespace {
constexpr int ProgressMs = 20;
}

ThreadedSoundOutput::ThreadedSoundOutput(SoundOutput &inner)
    : SoundOutputDecorator(inner)
{
}

ThreadedSoundOutput::~ThreadedSoundOutput()
{
    if (m_worker.joinable())
        m_worker.join();
    if (m_background.joinable())
        m_background.join();
}

void ThreadedSoundOutput::prepare()
{
    endBackground(true);
    m_inner.prepare();
}

void ThreadedSoundOutput::silence()
{
    if (m_transferring || m_quiet)
        return;
    m_inner.silence();
}

void ThreadedSoundOutput::restore(bool atExit)
{
    if (m_transferring && !atExit)
        return;
    m_inner.restore(atExit);
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
    if (m_transferring)
        return false;
    endBackground(true);
    m_backgroundDone = std::move(done);
    m_backgroundBusy = true;
    m_background = std::thread([this, path] {
        QString reason;
        m_backgroundPlayed = m_inner.play(path, &reason);
        m_backgroundError = reason;
        m_backgroundBusy = false;
        QMetaObject::invokeMethod(
            m_receiver.get(), [this] { endBackground(false); }, Qt::QueuedConnection);
    });
    return true;
}

bool ThreadedSoundOutput::play(const QString &path, QString *error)
{
    if (m_transferring) {
        if (error)
            *error = msg::CannotPlay;
        return false;
    }
    endBackground(true);
    return m_inner.play(path, error);
}

bool ThreadedSoundOutput::playTransfer(const QString &path, int mode, QString *error, QString *warning)
{
    endBackground(true);
    return m_inner.playTransfer(path, mode, error, warning);
}

void ThreadedSoundOutput::onWorker(std::function<void()> work, std::function<void()> then)
{
    if (m_worker.joinable())
        m_worker.join(); // its word has come: it has ended or is about to
    m_workerThen = std::move(then);
    m_worker = std::thread([this, work = std::move(work)] {
        work();
        QMetaObject::invokeMethod(
            m_receiver.get(),
            [this] {
                m_worker.join();
                std::exchange(m_workerThen, {})();
            },
            Qt::QueuedConnection);
    });
}

void ThreadedSoundOutput::startPrepare(std::function<void()> done)
{
    m_transferring = true;
    endBackground(true);
    // It may wait for another program's transfer: the windows go on meanwhile.
    onWorker([this] { m_inner.prepare(); }, std::move(done));
}

void ThreadedSoundOutput::startTransfer(const QString &path, int mode,
                                        std::function<void(bool, const QString &, const QString &)> done)
{
    endBackground(true);
    // 8-bit mono at 48 kHz: one byte per sample after the 44-byte header.
    const int totalMs = int(qMax<qint64>(0, QFileInfo(path).size() - 44) / 48);
    if (!m_progress) {
        m_progress = new QTimer(m_receiver.get());
        m_progress->setInterval(ProgressMs);
    }
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    m_progress->disconnect();
    QObject::connect(m_progress, &QTimer::timeout, m_receiver.get(), [this, timer, totalMs] {
        if (onProgress)
            onProgress(int(timer->elapsed()), totalMs);
    });
    m_progress->start();
    struct Outcome
    {
        bool ok = false;
        QString error, warning;
    };
    auto outcome = std::make_shared<Outcome>();
    onWorker([this, path, mode,
              outcome] { outcome->ok = m_inner.playTransfer(path, mode, &outcome->error, &outcome->warning); },
             [this, outcome, totalMs, done = std::move(done)] {
                 m_progress->stop();
                 // A sound that failed does not show as played to its end under its message.
                 if (outcome->ok && onProgress)
                     onProgress(totalMs, totalMs);
                 done(outcome->ok, outcome->error, outcome->warning);
             });
}

void ThreadedSoundOutput::finishTransfer()
{
    m_inner.silence();
    m_transferring = false;
}

} // namespace kr31
