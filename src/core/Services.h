#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace kr31 {

enum class Answer { Yes, No, Cancel };
// The buttons of a confirmation, and whether it shows as a question or as an information box.
// YesNoOrClose shows Yes and No, and closing it (Esc, the window's close) decides
// nothing: it answers Cancel, where a plain YesNo box answers No.
enum class AnswerButtons { YesNo, YesNoCancel, YesCancel, YesNoOrClose };
enum class BoxKind { Question, Information };

// The system's message boxes. Production shows modal boxes; tests record.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A warning box with one OK button.
    virtual void warning(const QString &text) = 0;
    // An information box with one OK button.
    virtual void information(const QString &text) = 0;
    // A confirmation with the given buttons; closing it answers Cancel (No when there is none).
    virtual Answer question(const QString &text, AnswerButtons buttons, BoxKind kind = BoxKind::Question) = 0;
    // The open and save file dialogs; filter as "KR-31ファイル(*.kr3)|*.kr3".
    // An empty name means the user cancelled.
    virtual QString openFileName(const QString &filter) = 0;
    virtual QString saveFileName(const QString &filter) = 0;
};

// Opening a help page in the user's browser.
class Shell
{
public:
    virtual ~Shell() = default;
    // False when the page could not be handed to a browser.
    virtual bool open(const QString &path) = 0;
};

// Milliseconds since start (wrapping at 32 bits) and the timer of a step
// that comes later.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual quint32 tickCount() = 0;
    // Runs then once, on the calling thread, at least ms milliseconds from
    // now. It returns at once: the thread goes on with its events meanwhile
    // (a clock without an event loop may run then before it returns).
    virtual void after(int ms, std::function<void()> then) = 0;
};

} // namespace kr31
