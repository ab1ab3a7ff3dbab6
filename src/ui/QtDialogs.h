#pragma once

#include "core/Services.h"

class QWidget;

namespace kr31 {

// The system's message boxes as modal Qt boxes with Japanese buttons.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    void warning(const QString &text) override;
    void information(const QString &text) override;
    Answer question(const QString &text, AnswerButtons buttons, BoxKind kind) override;
    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;

    // The folder the next file dialog opens in: the last one used in this
    // session, the work folder the first time.
    QString startFolder() const;

private:
    void remember(const QString &chosen);

    QWidget *m_parent;
    QString m_lastFolder;
};

} // namespace kr31
