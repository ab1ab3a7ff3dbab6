#pragma once

#include <QString>

namespace kr31 {

// The per-user work folder "KR-31Temp" inside the documents folder, where the
// settings and every generated file live.
namespace workfolder {

// The documents folder (created when missing, which a fresh account may be).
// Found once per environment (HOME, XDG_CONFIG_HOME): an edit of the user's
// folder settings file applies at the next start.
QString personalFolder();

// The work folder inside personal: one separator between them, never two;
// the result ends with '/'. Pure: creates nothing.
QString pathIn(const QString &personal);

// The work folder path ending with '/'; the folder and any missing parents
// are created anew on every call (a folder deleted meanwhile comes back).
QString path();

// The work folder path as path() gives it, creating nothing: for reading,
// where a missing folder just means missing files.
QString location();

// A file in the work folder (the folder created as by path()).
QString file(const QString &name);

// The program's own folder among the user's state files, for what the user
// never opens (recovery copies, the mixer state): "$XDG_STATE_HOME/kr31/",
// or "~/.local/state/kr31/" when that is unset or not absolute. Ends with
// '/'; creates nothing.
QString stateLocation();

// The folder for this user's sockets and locks of the running programs:
// $XDG_RUNTIME_DIR when it is a folder of this user's that others cannot
// write into; otherwise a private folder of our own, "<temp>/kr31-<uid>/"
// (made 0700, and used only while it is a real folder owned by this user that
// nobody else may enter); failing that, stateLocation(). Never a folder that
// other users share. Ends with '/'.
QString runtimeLocation();

} // namespace workfolder
} // namespace kr31
