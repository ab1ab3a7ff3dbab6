#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// One kr31 per desktop session: a kr31 started while another runs hands its
// file (if any) to the running one and ends. They meet on a local socket in
// the user's runtime folder.
namespace kr31::instance {

// The socket's path: "$XDG_RUNTIME_DIR/kr31-<uid>.socket" (the temporary
// folder when the session has no runtime folder).
QString socketPath();

// The running kr31 answers within this time, or the new one starts on its own.
inline constexpr int AnswerMs = 2000;

enum class HandOver {
    Taken,       // the running kr31 has the file (or the call to the front): end
    NoneRunning, // no kr31 listens: start, and listen
    NoAnswer,    // something listens but did not answer in time: start, warn
};

// Hands an absolute file path (empty: only come to the front) to the kr31
// that listens on path.
HandOver handTo(const QString &file, const QString &path = socketPath(), int answerMs = AnswerMs);

// The running kr31's side: listens on path and calls received with each file
// handed to it (empty: come to the front), after answering the caller.
class Listener : public QObject
{
public:
    explicit Listener(std::function<void(const QString &)> received, QObject *parent = nullptr);
    // Listens, taking over a socket left by a kr31 that ended without removing
    // it. False when another kr31 has just started to listen there.
    bool listen(const QString &path = socketPath());

private:
    QLocalServer *m_server;
    std::function<void(const QString &)> m_received;
};

} // namespace kr31::instance
