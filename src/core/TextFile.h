#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kr31::textfile {

// The largest outside files we read: far above any real one (a program file
// is under 10 KB, set.ini under 1 KB, a transfer sound under 1 MB).
inline constexpr qint64 TextLimit = 1 << 20;  // program files, set.ini, impressions
inline constexpr qint64 SoundLimit = 64 << 20; // WAV files

// Splits text into lines at CR LF, CR or LF. A final line break does not start
// another line, so "a\r\nb\r\n" is two lines.
QStringList splitLines(const QString &text);

// The bytes of a regular file of at most limit bytes. Anything else (a folder,
// a pipe, a device, a larger file) is refused at once, before its contents are
// read, with *error (if given) set to the reason in Japanese; *missing (if
// given) tells whether the file does not exist.
std::optional<QByteArray> readBytes(const QString &path, qint64 limit, QString *error = nullptr,
                                    bool *missing = nullptr);

// As readBytes, into memory of the caller's: buffer(size) is asked for at
// least size + 1 bytes once the file is known to be a regular file of size
// bytes (size <= limit); it may return nullptr to give up. Returns the count
// read, which is size: a file that changes size while it is read is refused.
std::optional<qint64> readBytesInto(const QString &path, qint64 limit,
                                    const std::function<char *(qint64 size)> &buffer, QString *error = nullptr);

// Reads a code page 932 text file (at most TextLimit bytes) as lines; nullopt
// when it cannot be read, with *error (if given) set to why.
std::optional<QStringList> readLines(const QString &path);
std::optional<QStringList> readLines(const QString &path, QString *error);

// The text of a file someone wrote by hand: UTF-8 when the bytes are valid
// UTF-8, else code page 932.
QString decodeText(const QByteArray &bytes);

// The bytes of lines in code page 932, each line (the last too) ended by CR LF.
QByteArray encodeLines(const QStringList &lines);

// How far a written file must survive a crash of the whole machine.
enum class Durability {
    // Synced to the disk before it replaces the old file: the learner's work,
    // settings, anything that must still be there after a power cut.
    Synced,
    // Not synced: a file that is rebuilt at every use and read back at once
    // (the transfer sound). The old file is removed just before the new one
    // takes its name, so a reader at that moment finds no file; never a half
    // written one. A failed write still leaves the old file whole.
    Scratch,
};

// Writes bytes atomically: a new file beside the old one, written unbuffered,
// checked and (Synced) synced to the disk, then renamed over it. The old file
// stays whole when anything fails (a full disk, no permission, a missing
// folder, a folder of that name). On failure returns false and sets *error
// (if given) to the reason in Japanese.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr,
                     Durability durability = Durability::Synced);

// Writes lines in code page 932 with CR LF, atomically.
// Lines holding a character code page 932 lacks are refused (*error names them).
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// A system error number (errno) as a reason in Japanese for a file that could
// not be read or written.
QString fileErrorReason(int errorNumber);

} // namespace kr31::textfile
