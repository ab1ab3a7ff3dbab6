#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kr31::handover {

// What a second start of the program asks the running one, as one line:
// "OPEN <ms since the epoch> <path, percent-encoded>\n" (the path may be
// empty: only come to the front).
QByteArray request(const QString &path, qint64 sentMs);

// The path a request line (without its "\n") asks to open; nullopt when the
// line is no request, or was sent more than maxAgeMs before nowMs (its sender
// has given up on it).
std::optional<QString> requestedPath(const QByteArray &line, qint64 nowMs, qint64 maxAgeMs);

} // namespace kr31::handover
