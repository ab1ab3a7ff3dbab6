#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kr31::textfile {

// Splits text into lines at CR LF, CR or LF. A final line break does not start
// another line, so "a\r\nb\r\n" is two lines.
QStringList splitLines(const QString &text);

// Reads a code page 932 text file as lines; nullopt when it cannot be read.
std::optional<QStringList> readLines(const QString &path);

// The bytes of lines in code page 932, each line (the last too) ended by CR LF.
QByteArray encodeLines(const QStringList &lines);

// Writes bytes atomically: the old file stays whole when anything fails.
// On failure returns false and sets *error (if given) to the reason.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Writes lines in code page 932 with CR LF, atomically.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);

} // namespace kr31::textfile
