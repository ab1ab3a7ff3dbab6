#include "core/PictureCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <atomic>

namespace kr31::picturecache {

namespace {

constexpr char Magic[8] = {'K', 'R', '3', '1', 'P', 'I', 'C', '1'};
constexpr int MaxSide = 4096;
constexpr int MaxBytesPerPixel = 16;

// Reads fixed-size little-endian numbers one after the other, refusing to
// run past the end.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    template <class T>
    bool take(T *value)
    {
        if (m_bytes.size() - m_at < qsizetype(sizeof(T)))
            return false;
        *value = qFromLittleEndian<T>(m_bytes.constData() + m_at);
        m_at += qsizetype(sizeof(T));
        return true;
    }

    bool take(QByteArrayView *view, qint64 length)
    {
        if (length < 0 || m_bytes.size() - m_at < length)
            return false;
        *view = QByteArrayView(m_bytes.constData() + m_at, qsizetype(length));
        m_at += qsizetype(length);
        return true;
    }

    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const QByteArray &m_bytes;
    qsizetype m_at = 0;
};

template <class T>
void put(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

} // namespace

std::optional<Source> sourceOf(const QString &path)
{
    const auto identity = identityOf(QFile::encodeName(path));
    if (!identity || !identity->regular)
        return std::nullopt;
    return identity;
}

namespace {
std::atomic<qint64> recentWindowNs{2'000'000'000};
} // namespace

bool recentlyChanged(const Source &source)
{
    return changedWithin(source, recentWindowNs);
}

void setRecentWindow(std::chrono::nanoseconds window)
{
    recentWindowNs = window.count();
}

std::optional<Entry> parse(const QByteArray &bytes)
{
    if (!bytes.startsWith(QByteArrayView(Magic, sizeof Magic)))
        return std::nullopt;
    Reader in(bytes);
    QByteArrayView skipped;
    in.take(&skipped, sizeof Magic);
    Entry e;
    quint32 pathLength = 0;
    qint32 width = 0, height = 0, bytesPerLine = 0, format = 0;
    QByteArrayView path;
    if (!in.take(&e.source.size) || !in.take(&e.source.modifiedNs) || !in.take(&e.source.changedNs) ||
        !in.take(&e.source.inode) || !in.take(&e.source.device) || !in.take(&width) || !in.take(&height) ||
        !in.take(&bytesPerLine) || !in.take(&format) || !in.take(&pathLength) || pathLength > 4096 ||
        !in.take(&path, pathLength))
        return std::nullopt;
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide || format < 1 || format > 64 ||
        bytesPerLine < width || bytesPerLine > width * MaxBytesPerPixel || bytesPerLine % 4 != 0)
        return std::nullopt;
    if (!in.take(&e.pixels, qint64(height) * bytesPerLine) || !in.atEnd())
        return std::nullopt;
    e.source.exists = e.source.regular = true;
    e.path = QString::fromUtf8(path);
    if (e.path.toUtf8() != path)
        return std::nullopt; // not a path this program wrote
    e.width = width;
    e.height = height;
    e.bytesPerLine = bytesPerLine;
    e.format = format;
    return e;
}

QByteArray serialize(const Entry &e)
{
    const QByteArray path = e.path.toUtf8();
    QByteArray out;
    out.reserve(sizeof Magic + 64 + path.size() + e.pixels.size());
    out.append(Magic, sizeof Magic);
    put<qint64>(out, e.source.size);
    put<qint64>(out, e.source.modifiedNs);
    put<qint64>(out, e.source.changedNs);
    put<quint64>(out, e.source.inode);
    put<quint64>(out, e.source.device);
    put<qint32>(out, e.width);
    put<qint32>(out, e.height);
    put<qint32>(out, e.bytesPerLine);
    put<qint32>(out, e.format);
    put<quint32>(out, quint32(path.size()));
    out.append(path);
    out.append(e.pixels.data(), e.pixels.size());
    return out;
}

qint64 pixelsOffset(qsizetype pathBytes)
{
    // The magic, five 64-bit and five 32-bit numbers, the path.
    return qint64(sizeof Magic) + 5 * 8 + 5 * 4 + pathBytes;
}

QString folder()
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.cache");
    return base + QStringLiteral("/kr31/pictures/");
}

QString entryFile(const QString &picturePath)
{
    const QByteArray key = QCryptographicHash::hash(picturePath.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder() + QString::fromLatin1(key) + QStringLiteral(".pic");
}

} // namespace kr31::picturecache
