#include "core/IniFile.h"

#include "core/Cp932.h"
#include "core/FileIdentity.h"
#include "core/TextFile.h"
#include "core/TextTools.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <memory>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
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

struct Entry
{
    QString section;
    QString key;
    QString value;
};

// A file's lines as bytes (written back untouched) and the values they hold,
// found through their names case-folded (as same() compares them), so that
// reading a file of many sections and keys takes time in step with its size.
struct ParsedFile
{
    QList<QByteArray> raw;
    std::vector<Entry> entries;
    QHash<QString, size_t> index; // folded "section\nkey" -> position in entries

    static QString slot(const QString &section, const QString &key)
    {
        return section.toCaseFolded() + u'\n' + key.toCaseFolded();
    }
    const Entry *find(const QString &section, const QString &key) const
    {
        const auto it = index.constFind(slot(section, key));
        return it == index.cend() ? nullptr : &entries[*it];
    }
    // Adds an entry unless its section already holds the key.
    void add(Entry entry)
    {
        const QString at = slot(entry.section, entry.key);
        if (index.contains(at))
            return;
        index.insert(at, entries.size());
        entries.push_back(std::move(entry));
    }
};

// Only the first section of a name counts, and in it the first line of a key.
void readEntries(ParsedFile &parsed)
{
    QSet<QString> seen; // section names, case-folded
    bool counts = false;
    QString section;
    for (const QByteArray &bytes : parsed.raw) {
        const QString line = cp932::decode(bytes);
        if (const auto name = sectionName(line)) {
            const QString folded = name->toCaseFolded();
            counts = !seen.contains(folded);
            seen.insert(folded);
            section = *name;
            continue;
        }
        if (!counts)
            continue;
        if (const auto kv = keyLine(line))
            parsed.add({section, kv->key, kv->value});
    }
}

struct KeptFile
{
    FileIdentity identity;
    std::shared_ptr<const ParsedFile> parsed;
    // Kept under a folder watch: trusted without a stat() until an event of
    // the folder names the file, or until it is due for a check.
    bool watched = false;
    qint64 checkedNs = 0; // monotonic time of the last stat()
};

// A watched file is still compared with stat() now and then, which catches
// what no event of its own folder tells: a folder further up renamed, or
// another put in its place.
constexpr qint64 WatchedCheckNs = 100'000'000;

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return nanoseconds(now);
}

// The folder that holds path (as the kernel takes it), and the prefix that,
// with an entry's name, spells a path as the callers wrote it.
struct FolderOf
{
    QByteArray folder;
    QString prefix;
};

FolderOf folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {QByteArrayLiteral("."), QString()};
    const QString folder = slash == 0 ? QStringLiteral("/") : path.left(slash);
    return {QFile::encodeName(folder), path.left(slash + 1)};
}

// What the files held when last read, for the whole program (the sound
// output thread may read the settings too).
//
// While a FolderWatch wants it, a file's folder is watched with inotify: the
// kernel queues an event for every change of an entry of the folder as part
// of the change itself, so one look at the queue (answered at once while it
// is empty) tells whether a kept file may have changed. That is far cheaper
// than a stat() of a long path, and it sees a change within the same tick of
// the file system's clock too. Otherwise every call compares stat().
struct KeptFiles
{
    QMutex mutex;
    QHash<QString, KeptFile> files;
    std::atomic<quint64> reads{0};
    std::atomic<qint64> recentWindowNs{50'000'000};

    bool watchAllowed = true;
    int fd = -1;
    bool triedInotify = false;
    quint64 changes = 0;  // events of watched folders, counted
    QHash<int, QStringList> prefixesOf; // watch -> the path prefixes of its folder
    QHash<QByteArray, int> watchOf;      // folder -> its watch, while a FolderWatch wants it
    QHash<QByteArray, int> wanted;       // folder -> how many FolderWatch objects want it

    // Reads every queued event and forgets the files they name.
    void drain()
    {
        // Asking how much is queued is a shorter way through the kernel than
        // a read() that finds nothing.
        int queued = 0;
        if (fd < 0 || (::ioctl(fd, FIONREAD, &queued) == 0 && queued == 0))
            return;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return; // EAGAIN: nothing more queued
            for (ssize_t at = 0; at < n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                take(*event);
            }
        }
    }

    void take(const inotify_event &event)
    {
        if (event.mask & IN_Q_OVERFLOW) {
            forgetWatched();
            return;
        }
        const auto it = prefixesOf.constFind(event.wd);
        if (it == prefixesOf.constEnd())
            return;
        const QStringList prefixes = *it;
        if (event.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
            // The folder itself went: it is watched again only by a new FolderWatch.
            if (!(event.mask & IN_IGNORED))
                inotify_rm_watch(fd, event.wd);
            prefixesOf.remove(event.wd);
            watchOf.removeIf([&](const auto &w) { return w.value() == event.wd; });
            forgetWatched();
            return;
        }
        // Counted whatever it names: a file being read as it changes may not
        // be kept yet.
        ++changes;
        if (event.len == 0)
            return;
        const QString name = QFile::decodeName(event.name);
        for (const QString &prefix : prefixes)
            files.remove(prefix + name);
    }

    // Forgets what was kept under a watch that no longer tells every change
    // (it ended, or events were lost): such a file may have been kept with
    // times too recent for stat() to see a further change, so it is read again.
    void forgetWatched()
    {
        if (files.removeIf([](const auto &f) { return f.value().watched; }) > 0)
            ++changes;
    }

    // Whether the folder of path is watched now; with a FolderWatch
    // wanting it, also a file that is not kept yet is looked at after the
    // watch began, so that no change can slip between.
    bool watched(const QString &path, const QByteArray &nativePath)
    {
        const FolderOf where = folderOf(path);
        const auto it = watchOf.constFind(where.folder);
        if (it == watchOf.constEnd())
            return false;
        // A link's target may lie in another folder.
        struct stat st{};
        if (::lstat(nativePath.constData(), &st) == 0 && S_ISLNK(st.st_mode))
            return false;
        QStringList &prefixes = prefixesOf[*it];
        if (!prefixes.contains(where.prefix))
            prefixes.append(where.prefix);
        return true;
    }

    void want(const QString &path)
    {
        const FolderOf where = folderOf(path);
        if (wanted[where.folder]++ > 0 || !watchAllowed)
            return;
        if (!triedInotify) {
            triedInotify = true;
            fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        }
        if (fd < 0)
            return;
        const int wd = inotify_add_watch(fd, where.folder.constData(),
                                         IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO |
                                             IN_CREATE | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
        if (wd >= 0)
            watchOf.insert(where.folder, wd);
    }

    void unwant(const QString &path)
    {
        const FolderOf where = folderOf(path);
        const auto it = wanted.find(where.folder);
        if (it == wanted.end() || --*it > 0)
            return;
        wanted.erase(it);
        const auto watch = watchOf.constFind(where.folder);
        if (watch == watchOf.constEnd())
            return;
        drain();
        inotify_rm_watch(fd, *watch);
        prefixesOf.remove(*watch);
        watchOf.erase(watch);
        forgetWatched();
    }

    bool trusted(const KeptFile &file, qint64 now) const
    {
        return file.watched && now - file.checkedNs < WatchedCheckNs;
    }

    // A forked child shares the parent's queue: it must not read from it.
    void disownAfterFork()
    {
        fd = -1;
        triedInotify = true;
        prefixesOf.clear();
        watchOf.clear();
        forgetWatched();
    }
};

KeptFiles &kept()
{
    static KeptFiles *k = [] {
        static KeptFiles files;
        pthread_atfork(nullptr, nullptr, [] { kept().disownAfterFork(); });
        return &files;
    }();
    return *k;
}

void forget(const QString &path)
{
    QMutexLocker lock(&kept().mutex);
    kept().files.remove(path);
}

// The file's lines, read again only when it may have changed since the last
// reading; a missing file has no lines. nullptr when it exists but cannot be
// read.
std::shared_ptr<const ParsedFile> parsedFile(const QString &path, const QByteArray &nativePath)
{
    KeptFiles &k = kept();
    bool watched = false;
    quint64 changesBefore = 0;
    {
        QMutexLocker lock(&k.mutex);
        k.drain();
        const qint64 now = monotonicNs();
        const auto it = k.files.find(path);
        if (it != k.files.end() && k.trusted(*it, now))
            return it->parsed;
        // The watch is in place before the file is looked at, so any change
        // from here on is queued.
        watched = k.watched(path, nativePath);
        changesBefore = k.changes;
    }
    const std::optional<FileIdentity> before = identityOf(nativePath);
    if (before) {
        QMutexLocker lock(&k.mutex);
        if (const auto it = k.files.find(path); it != k.files.end() && it->identity == *before) {
            it->checkedNs = monotonicNs();
            it->watched = watched;
            return it->parsed;
        }
    }
    ++k.reads;
    bool missing = false;
    auto raw = readRawLines(path, &missing);
    if (!raw) {
        forget(path);
        return nullptr;
    }
    auto parsed = std::make_shared<ParsedFile>();
    parsed->raw = std::move(*raw);
    readEntries(*parsed);

    // Kept only when nothing changed while reading. Unwatched, the file's
    // times must also lie far enough back that a further change cannot
    // share them; watched, such a change is queued.
    const std::optional<FileIdentity> after = identityOf(nativePath);
    const bool settled = after && !changedWithin(*after, k.recentWindowNs);
    QMutexLocker lock(&k.mutex);
    k.drain();
    // Another reader may have seen a newer file meanwhile: ours is then stale.
    const bool unchanged = !watched || k.changes == changesBefore;
    const bool keep = unchanged && before && after && *before == *after &&
                      (watched || !after->exists || settled);
    if (keep)
        k.files.insert(path, {*after, parsed, watched, monotonicNs()});
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

IniFile::FolderWatch::FolderWatch(const IniFile &file)
    : m_path(file.path())
{
    KeptFiles &k = kept();
    QMutexLocker lock(&k.mutex);
    k.want(m_path);
}

IniFile::FolderWatch::~FolderWatch()
{
    KeptFiles &k = kept();
    QMutexLocker lock(&k.mutex);
    k.unwant(m_path);
}

void IniFile::setFolderWatch(bool allowed)
{
    KeptFiles &k = kept();
    QMutexLocker lock(&k.mutex);
    k.watchAllowed = allowed;
    k.files.clear();
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
    parsed.raw = rawLines(bytes);
    readEntries(parsed);
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
