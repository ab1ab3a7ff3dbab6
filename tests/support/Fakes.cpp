#include "support/Fakes.h"

#include <QFile>

namespace kr31::test {

namespace {
void note(EventLog *log, const QString &event)
{
    if (log)
        log->append(event);
}
} // namespace

void FakeDialogs::warning(const QString &text)
{
    warnings.append(text);
    note(m_log, QStringLiteral("warning: ") + text);
}

void FakeDialogs::information(const QString &text)
{
    informations.append(text);
    note(m_log, QStringLiteral("information: ") + text);
}

Answer FakeDialogs::question(const QString &text, AnswerButtons buttons, BoxKind kind)
{
    questions.append(text);
    questionBoxes.append({buttons, kind});
    note(m_log, QStringLiteral("question: ") + text);
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

QString FakeDialogs::openFileName(const QString &filter)
{
    note(m_log, QStringLiteral("open dialog: ") + filter);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString FakeDialogs::saveFileName(const QString &filter)
{
    note(m_log, QStringLiteral("save dialog: ") + filter);
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

void FakeSoundOutput::noteState()
{
    note(m_log, QStringLiteral("note"));
}

void FakeSoundOutput::prepare()
{
    note(m_log, QStringLiteral("prepare"));
}

void FakeSoundOutput::silence()
{
    note(m_log, QStringLiteral("silence"));
}

void FakeSoundOutput::restore(bool atExit)
{
    note(m_log, atExit ? QStringLiteral("restore at exit") : QStringLiteral("restore"));
}

bool FakeSoundOutput::playInBackground(const QString &path, std::function<void(bool, const QString &)> done)
{
    if (!holdBackground)
        return SoundOutput::playInBackground(path, std::move(done));
    QString error;
    play(path, &error);
    heldDone = std::move(done);
    return true;
}

void FakeSoundOutput::stopBackground()
{
    if (const auto done = std::exchange(heldDone, {})) {
        note(m_log, QStringLiteral("stop background"));
        done(true, {});
    }
}

bool FakeSoundOutput::play(const QString &path, QString *error)
{
    note(m_log, QStringLiteral("play"));
    if (!failWith.isEmpty()) {
        *error = failWith;
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no file");
        return false;
    }
    played.append(file.readAll());
    return true;
}

void FakeClock::after(int ms, std::function<void()> then)
{
    note(m_log, QStringLiteral("wait %1").arg(ms));
    if (duringWait)
        duringWait();
    now += quint32(ms);
    then();
}

void FakeSendingDialog::showOver(QObject *c)
{
    caller = c;
    note(m_log, QStringLiteral("dialog shown"));
}

void FakeSendingDialog::close()
{
    note(m_log, QStringLiteral("dialog closed"));
}

} // namespace kr31::test
