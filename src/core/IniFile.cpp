#include "core/IniFile.h"

#include "core/Cp932.h"
#include "core/TextFile.h"
#include "core/TextTools.h"

#include <QFile>
#include <QHash>
#include <QMutex>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace kr31 {

namespace {

// The lines as raw bytes, so that lines we do not touch are written back
// exactly as they were.
QList<QByteArray> rawLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

// The file's lines; none when it does not exist, nullopt when it cannot be
// read (not a regular file, larger than any settings file).
std::optional<QList<QByteArray>> readRawLines(const QString &path, bool *missing)
{
    const auto bytes = textfile::readBytes(path, textfile::TextLimit, nullptr, missing);
    if (*missing)
        return QList<QByteArray>{};
    if (!bytes)
        return std::nullopt;
    return rawLines(*bytes);
}

// "[name]" gives name (trimmed); anything else nullopt.
std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

struct KeyLine
{
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return std::nullopt;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    QString value = t.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return KeyLine{t.left(eq).trimmed(), value};
}

bool same(const QString &a, const QString &b)
{
    // Case folding keeps the length of every character: names of another
    // length never match. Names written as the program writes them match
    // byte for byte; only the others need the costly comparison.
    return a.size() == b.size() && (a == b || a.compare(b, Qt::CaseInsensitive) == 0);
}

// A file as stat() sees it: while two readings are equal, the file did not change.
struct FileIdentity
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const FileIdentity &) const = default;
};

qint64 nanoseconds(const timespec &t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// nullopt when stat() fails for another reason than a missing file.
std::optional<FileIdentity> identityOf(const QByteArray &nativePath)
{
    struct stat st{};
    if (::stat(nativePath.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileIdentity{};
        return std::nullopt;
    }
    return FileIdentity{true, qint64(st.st_size), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim),
                        quint64(st.st_ino), quint64(st.st_dev)};
}

struct Entry
{
    QString section;
    QString key;
    QString value;
};

// A file's lines as bytes (written back untouched) and the values they hold.
struct ParsedFile
{
    QList<QByteArray> raw;
    std::vector<Entry> entries;

    const Entry *find(const QString &section, const QString &key) const
    {
        for (const Entry &e : entries) {
            if (same(e.key, key) && same(e.section, section))
                return &e;
        }
        return nullptr;
    }
};

// Only the first section of a name counts, and in it the first line of a key.
std::vector<Entry> entriesOf(const QList<QByteArray> &raw)
{
    ParsedFile parsed;
    QStringList seen;
    bool counts = false;
    QString section;
    for (const QByteArray &bytes : raw) {
        const QString line = cp932::decode(bytes);
        if (const auto name = sectionName(line)) {
            counts = std::none_of(seen.cbegin(), seen.cend(), [&](const QString &s) { return same(s, *name); });
            seen.append(*name);
            section = *name;
            continue;
        }
        if (!counts)
            continue;
        if (const auto kv = keyLine(line); kv && !parsed.find(section, kv->key))
            parsed.entries.push_back({section, kv->key, kv->value});
    }
    return std::move(parsed.entries);
}

struct KeptFile
{
    FileIdentity identity;
    std::shared_ptr<const ParsedFile> parsed;
};

// What the files held when last read, for the whole program (the sound
// output thread may read the settings too).
struct KeptFiles
{
    QMutex mutex;
    QHash<QString, KeptFile> files;
    std::atomic<quint64> reads{0};
    std::atomic<qint64> recentWindowNs{50'000'000};
};

KeptFiles &kept()
{
    static KeptFiles k;
    return k;
}

void forget(const QString &path)
{
    QMutexLocker lock(&kept().mutex);
    kept().files.remove(path);
}

// The file's lines, read again only when its identity changed since the
// last reading; a missing file has no lines. nullptr when it exists but
// cannot be read.
std::shared_ptr<const ParsedFile> parsedFile(const QString &path, const QByteArray &nativePath)
{
    KeptFiles &k = kept();
    const std::optional<FileIdentity> before = identityOf(nativePath);
    if (before) {
        QMutexLocker lock(&k.mutex);
        if (const auto it = k.files.constFind(path); it != k.files.constEnd() && it->identity == *before)
            return it->parsed;
    }
    ++k.reads;
    bool missing = false;
    auto raw = readRawLines(path, &missing);
    if (!raw) {
        forget(path);
        return nullptr;
    }
    auto parsed = std::make_shared<ParsedFile>();
    parsed->entries = entriesOf(*raw);
    parsed->raw = std::move(*raw);

    // Kept only when nothing changed while reading, and when the file's times
    // lie far enough back that a further change cannot share them.
    const std::optional<FileIdentity> after = identityOf(nativePath);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 settled = nanoseconds(now) - k.recentWindowNs;
    const bool keep = before && after && *before == *after &&
                      (!after->exists || (after->modifiedNs < settled && after->changedNs < settled));
    QMutexLocker lock(&k.mutex);
    if (keep)
        k.files.insert(path, {*after, parsed});
    else
        k.files.remove(path);
    return parsed;
}

} // namespace

quint64 IniFile::fileReads()
{
    return kept().reads;
}

void IniFile::setRecentChangeWindow(std::chrono::nanoseconds window)
{
    kept().recentWindowNs = window.count();
}

IniFile::IniFile(QString path)
    : m_path(std::move(path))
    , m_nativePath(QFile::encodeName(m_path))
{
}

std::optional<QString> IniFile::value(const QString &section, const QString &key, bool *readError) const
{
    const auto file = parsedFile(m_path, m_nativePath);
    if (readError)
        *readError = !file;
    if (!file)
        return std::nullopt;
    if (const Entry *entry = file->find(section, key))
        return entry->value;
    return std::nullopt;
}

int IniFile::integer(const QString &section, const QString &key, int fallback) const
{
    const auto text = value(section, key);
    if (!text)
        return fallback;
    return text::toInt(*text).value_or(fallback);
}

namespace {

// Sets key in section within the file's lines, adding what is missing.
void setInLines(QList<QByteArray> &lines, const QString &section, const QString &key, const QString &value)
{
    const QByteArray entry = cp932::encode(key + u'=' + value);
    qsizetype sectionAt = -1;
    qsizetype lastEntry = -1; // last non-blank line of the section
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = cp932::decode(lines.at(i));
        if (const auto name = sectionName(line)) {
            if (sectionAt >= 0)
                break;
            if (same(*name, section)) {
                sectionAt = i;
                lastEntry = i;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (const auto kv = keyLine(line); kv && same(kv->key, key)) {
            lines[i] = entry;
            return;
        }
        if (!line.trimmed().isEmpty())
            lastEntry = i;
    }
    if (sectionAt < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QByteArray());
        lines.append(cp932::encode(u'[' + section + u']'));
        lines.append(entry);
    } else {
        lines.insert(lastEntry + 1, entry);
    }
}

} // namespace

bool IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    return setValues(section, {{key, value}});
}

bool IniFile::setValues(const QString &section, const QList<QPair<QString, QString>> &entries)
{
    const auto file = parsedFile(m_path, m_nativePath);
    if (!file)
        return false;
    QList<QByteArray> lines = file->raw;
    for (const auto &[key, value] : entries)
        setInLines(lines, section, key, value);
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    const bool written = textfile::writeAtomically(m_path, bytes);
    forget(m_path);
    return written;
}

namespace ini {

std::optional<QString> valueIn(const QByteArray &bytes, const QString &section, const QString &key)
{
    ParsedFile parsed;
    parsed.entries = entriesOf(rawLines(bytes));
    if (const Entry *entry = parsed.find(section, key))
        return entry->value;
    return std::nullopt;
}

QByteArray withValues(const QByteArray &bytes, const QString &section, const QList<QPair<QString, QString>> &entries)
{
    QList<QByteArray> lines = rawLines(bytes);
    for (const auto &[key, value] : entries)
        setInLines(lines, section, key, value);
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace ini

} // namespace kr31
