#include "program/ProgramSave.h"

#include "core/Cp932.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "program/ProgramFile.h"

#include <QFileInfo>

namespace kr31 {

bool writeProgramFile(Dialogs &dialogs, const QString &chosen, const QStringList &lines)
{
    const QString path = programfile::saveName(chosen);
    if (const QStringList lost = cp932::missing(lines.join(u'\n')); !lost.isEmpty()) {
        dialogs.warning(msg::unstorable(lost));
        return false;
    }
    if (QFileInfo(path).isDir()) {
        dialogs.warning(msg::folderInTheWay(path));
        return false;
    }
    if (QFileInfo::exists(path) && dialogs.question(msg::OverwritePrompt, AnswerButtons::YesNo) != Answer::Yes)
        return false;
    QString error;
    if (!textfile::writeLines(path, lines, &error)) {
        dialogs.warning(msg::cannotSave(path, error));
        return false;
    }
    return true;
}

bool askToSave(Dialogs &dialogs, bool modified, const std::function<void()> &save)
{
    if (!modified)
        return true;
    switch (dialogs.question(msg::SavePrompt, AnswerButtons::YesNoCancel, BoxKind::Information)) {
    case Answer::Yes:
        save(); // the mark is cleared only by a save that completed
        return false;
    case Answer::Cancel:
        return false;
    case Answer::No:
        break;
    }
    return true;
}

} // namespace kr31
