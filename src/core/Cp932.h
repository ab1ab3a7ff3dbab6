#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kr31::cp932 {

// Text to code page 932 bytes. A character the code page lacks becomes '?'.
QByteArray encode(const QString &text);
// Code page 932 bytes to text. A byte sequence that is not valid becomes U+FFFD.
QString decode(const QByteArray &bytes);
// True when every character of text exists in code page 932.
bool canEncode(const QString &text);
// The characters of text that code page 932 lacks, each once, in the order
// they first come (a character outside the BMP as its pair); empty when none.
QStringList missing(const QString &text);

} // namespace kr31::cp932
