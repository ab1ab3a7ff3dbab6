#pragma once

#include "core/FileRead.h"
#include "core/Messages.h"
#include "core/Services.h"
#include "program/ProgramFile.h"
#include "program/ProgramSave.h"

#include <QString>

#include <functional>

// The steps of Open that every editor takes alike; each editor reads its own format.
namespace kr31::editorfiles {

// The file an editor's Open reads: the save question first (which may end
// the action), then the file dialog. Empty when there is nothing to read.
inline QString chooseToOpen(Dialogs &dialogs, bool modified, const std::function<void()> &save)
{
    if (!askToSave(dialogs, modified, save))
        return {};
    return dialogs.openFileName(programfile::Filter);
}

// Whether path names a program file at all; (111) is shown for one that does not.
inline bool acceptsPath(Dialogs &dialogs, const QString &path)
{
    if (programfile::hasProgramExtension(path))
        return true;
    dialogs.information(msg::CannotOpen111);
    return false;
}

// Whether an editor takes what a read gave: a file that cannot be read, that
// another editor opens, or that broke off part-way leaves the editor with the
// program it had, so a failed Open loses no work; the message says why.
// quiet (a recovery copy, offered to an empty editor) shows nothing and takes
// what was read before a break.
inline bool takes(Dialogs &dialogs, const FileRead &read, bool quiet)
{
    if (read.ok() || (read.status == FileRead::BrokeOff && quiet))
        return true;
    if (quiet)
        return false;
    if (read.status == FileRead::OtherStep)
        dialogs.information(read.message());
    else
        dialogs.warning(read.message());
    return false;
}

} // namespace kr31::editorfiles
