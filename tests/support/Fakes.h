#pragma once

#include "core/Services.h"
#include "sound/SoundOutput.h"
#include "link/Transmitter.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>

namespace kr31::test {

// One log shared by the fakes, so a test can check the order of steps
// across them: "prepare", "wait 500", "play", "warning: ..." and so on.
using EventLog = QStringList;

class FakeDialogs : public Dialogs
{
public:
    explicit FakeDialogs(EventLog *log = nullptr)
        : m_log(log)
    {
    }
    void warning(const QString &text) override;
    void information(const QString &text) override;
    Answer question(const QString &text, AnswerButtons buttons, BoxKind kind) override;
    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;

    QStringList fileNames; // answered in order by both file dialogs; cancelled when empty
    QStringList warnings;
    QStringList informations;
    QStringList questions;
    QList<QPair<AnswerButtons, BoxKind>> questionBoxes; // the buttons and kind of each question
    QList<Answer> answers; // answered in order; No when empty

private:
    EventLog *m_log;
};

class FakeSoundOutput : public SoundOutput
{
public:
    explicit FakeSoundOutput(EventLog *log = nullptr)
        : m_log(log)
    {
    }
    void noteState() override;
    void prepare() override;
    void silence() override;
    void restore(bool atExit) override;
    bool play(const QString &path, QString *error) override;
    // As a real background sound when holdBackground is set: it plays on
    // until stopBackground() (logged) ends it.
    bool playInBackground(const QString &path, std::function<void(bool, const QString &)> done) override;
    void stopBackground() override;

    QList<QByteArray> played; // the whole WAV file at each play
    QString failWith;         // when set, play fails with this message
    bool holdBackground = false;
    std::function<void(bool, const QString &)> heldDone;

private:
    EventLog *m_log;
};

class FakeClock : public Clock
{
public:
    explicit FakeClock(EventLog *log = nullptr)
        : m_log(log)
    {
    }
    quint32 tickCount() override { return now; }
    // Logs "wait ms", runs duringWait, moves the clock on and runs then, all before it returns.
    void after(int ms, std::function<void()> then) override;

    quint32 now = 0;
    std::function<void()> duringWait; // runs inside each wait

private:
    EventLog *m_log;
};

class FakeSendingDialog : public SendingDialog
{
public:
    explicit FakeSendingDialog(EventLog *log = nullptr)
        : m_log(log)
    {
    }
    void showOver(QObject *caller) override;
    void close() override;
    QObject *caller = nullptr;

private:
    EventLog *m_log;
};

} // namespace kr31::test
