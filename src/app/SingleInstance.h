#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

// One kr31 per desktop session: a kr31 started while another runs hands its
// file (if any) to the running one and ends. They meet on a local socket in
// the user's runtime folder.
namespace kr31::instance {

// The socket's path: "kr31-<uid>.socket" in the user's runtime folder
// (a private folder of ours when the session has none).
QString socketPath();

// The running kr31 answers within this time, or the new one starts on its own.
inline constexpr int AnswerMs = 2000;

enum class HandOver {
    Taken,       // the running kr31 has the file (or the call to the front): end
    NoneRunning, // no kr31 listens: start, and listen
    NoAnswer,    // something listens but did not answer in time: start, warn
};

// Hands an absolute file path (empty: only come to the front) to the kr31
// that listens on path. The request carries its time: a kr31 that reads it
// after answerMs, when this side has given up, leaves it undone.
HandOver handTo(const QString &file, const QString &path = socketPath(), int answerMs = AnswerMs);

// handTo(), but of two kr31 started at the same moment exactly one runs: the
// one that takes the lock beside path (held until the process ends) runs and
// listens, and the other hands over to it once it listens.
HandOver handToOrClaim(const QString &file, const QString &path = socketPath(), int answerMs = AnswerMs);

// The running kr31's side: listens on path and calls received with each file
// handed to it (empty: come to the front), after answering the caller.
class Listener : public QObject
{
public:
    // A connection that sends no request within idleMs is dropped.
    explicit Listener(std::function<void(const QString &)> received, QObject *parent = nullptr,
                      int idleMs = AnswerMs);
    // Listens, taking over a socket left by a kr31 that ended without removing
    // it. False when another kr31 has just started to listen there. Listens
    // again when the server stops (a connection it could not accept, at the
    // limit of open files, closes it).
    bool listen(const QString &path = socketPath());

private:
    void read(QLocalSocket *socket);

    QLocalServer *m_server;
    std::function<void(const QString &)> m_received;
    int m_idleMs;
    QString m_path;
};

} // namespace kr31::instance
