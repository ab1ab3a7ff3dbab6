#include "app/SingleInstance.h"

#include "core/HandOverRequest.h"
#include "core/WorkFolder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kr31::instance {

namespace {

// One line each way: the request (handover::request), then "OK\n".
const QByteArray Answer = "OK\n";

} // namespace

QString socketPath()
{
    return workfolder::runtimeLocation() + QStringLiteral("kr31-%1.socket").arg(::getuid());
}

HandOver handTo(const QString &file, const QString &path, int answerMs)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    // A socket file nobody listens on refuses at once.
    if (!socket.waitForConnected(answerMs))
        return HandOver::NoneRunning;
    QElapsedTimer clock;
    clock.start();
    socket.write(handover::request(file, QDateTime::currentMSecsSinceEpoch()));
    QByteArray answer;
    while (!answer.endsWith('\n') && clock.elapsed() < answerMs) {
        if (socket.bytesToWrite() > 0)
            socket.waitForBytesWritten(int(answerMs - clock.elapsed()));
        else if (socket.waitForReadyRead(int(qMax<qint64>(1, answerMs - clock.elapsed()))))
            answer += socket.readAll();
        else if (socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    return answer == Answer ? HandOver::Taken : HandOver::NoAnswer;
}

HandOver handToOrClaim(const QString &file, const QString &path, int answerMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        const HandOver handed = handTo(file, path, answerMs);
        if (handed != HandOver::NoneRunning)
            return handed;
        // Held open to the end of the process: the lock goes with it.
        static const int lock = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(),
                                       O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) == 0)
            return HandOver::NoneRunning; // ours (or no lock can be had: run as before)
        // Another start holds it and is about to listen.
        QThread::msleep(20);
    } while (clock.elapsed() < answerMs);
    return HandOver::NoAnswer;
}

Listener::Listener(std::function<void(const QString &)> received, QObject *parent, int idleMs)
    : QObject(parent)
    , m_server(new QLocalServer(this))
    , m_received(std::move(received))
    , m_idleMs(idleMs)
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
            QTimer::singleShot(m_idleMs, socket, [socket] { socket->abort(); });
        }
    });
    auto *watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, [this] {
        if (!m_path.isEmpty() && !m_server->isListening())
            listen(m_path);
    });
    watch->start(1000);
}

void Listener::read(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 64 * 1024)
            socket->abort(); // no path is that long
        return;
    }
    // A request its sender has given up on (it runs by itself) is left undone.
    const std::optional<QString> path =
        handover::requestedPath(socket->readLine().chopped(1), QDateTime::currentMSecsSinceEpoch(), AnswerMs);
    if (!path) {
        socket->abort();
        return;
    }
    socket->write(Answer);
    socket->flush();
    socket->disconnectFromServer();
    m_received(*path);
}

bool Listener::listen(const QString &path)
{
    if (!m_server->listen(path)) {
        // A socket file that refuses is left by a kr31 that ended without removing it.
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(200))
            return false;
        QLocalServer::removeServer(path);
        if (!m_server->listen(path))
            return false;
    }
    m_path = path;
    return true;
}

} // namespace kr31::instance
