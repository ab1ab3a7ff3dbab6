#include "core/HandOverRequest.h"

#include <QUrl>

namespace kr31::handover {

namespace {
const QByteArray Open = "OPEN ";
}

QByteArray request(const QString &path, qint64 sentMs)
{
    return Open + QByteArray::number(sentMs) + ' ' + QUrl::toPercentEncoding(path, "/") + '\n';
}

std::optional<QString> requestedPath(const QByteArray &line, qint64 nowMs, qint64 maxAgeMs)
{
    if (!line.startsWith(Open))
        return std::nullopt;
    const qsizetype space = line.indexOf(' ', Open.size());
    bool ok = false;
    const qint64 sent = space < 0 ? 0 : line.mid(Open.size(), space - Open.size()).toLongLong(&ok);
    if (!ok || sent < nowMs - maxAgeMs || sent > nowMs + maxAgeMs)
        return std::nullopt;
    return QUrl::fromPercentEncoding(line.mid(space + 1));
}

} // namespace kr31::handover
