#pragma once

#include "core/Services.h"
#include "ui/UiServices.h"

#include <QString>

namespace kr31::bench {

// Services that do nothing: only the windows are measured.
struct Quiet : Dialogs, SoundOutput, Shell, Printing
{
    void warning(const QString &) override {}
    void information(const QString &) override {}
    Answer question(const QString &, AnswerButtons, BoxKind) override { return Answer::No; }
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }
    void noteState() override {}
    void prepare() override {}
    void silence() override {}
    void restore(bool) override {}
    bool play(const QString &, QString *) override { return true; }
    bool open(const QString &) override { return true; }
    Result print(QWidget *, const Pages &) override { return Result::Cancelled; }
};

} // namespace kr31::bench
