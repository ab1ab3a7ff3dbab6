#pragma once

#include "core/Services.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kr31 {

// Writes a program file as every editor's save does: ".kr3" added to the
// chosen name unless it is there, the overwrite question for an existing
// file (anything but Yes writes nothing), an atomic write in code page 932
// with CR LF; a failed write is shown with its reason and the old file stays.
// True when the file was written.
bool writeProgramFile(Dialogs &dialogs, const QString &chosen, const QStringList &lines);

// The save question of an editor, asked only when modified: Yes runs save
// and ends the action (the user starts it again), Cancel ends it, No lets it
// go on. True when the action may go on.
bool askToSave(Dialogs &dialogs, bool modified, const std::function<void()> &save);

} // namespace kr31
