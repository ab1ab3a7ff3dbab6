#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace kr31::instance {

namespace {

// One line each way: "OPEN <path>\n" (the path may be empty), then "OK\n".
const QByteArray Open = "OPEN ";
const QByteArray Answer = "OK\n";

} // namespace

QString socketPath()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/kr31-%1.socket").arg(::getuid());
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
    socket.write(Open + file.toUtf8() + '\n');
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

Listener::Listener(std::function<void(const QString &)> received, QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
    , m_received(std::move(received))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > 64 * 1024)
                        socket->abort(); // no path is that long
                    return;
                }
                const QByteArray line = socket->readLine().chopped(1);
                if (!line.startsWith(Open)) {
                    socket->abort();
                    return;
                }
                socket->write(Answer);
                socket->flush();
                socket->disconnectFromServer();
                m_received(QString::fromUtf8(line.mid(Open.size())));
            });
        }
    });
}

bool Listener::listen(const QString &path)
{
    if (m_server->listen(path))
        return true;
    // A socket file that refuses is left by a kr31 that ended without removing it.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(200))
        return false;
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

} // namespace kr31::instance
