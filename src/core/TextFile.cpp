#include "core/TextFile.h"

#include "core/Cp932.h"
#include "core/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kr31::textfile {

namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

int retryOnInterrupt(const auto &call)
{
    int result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

// Creates a new empty file beside target, named so that nobody else uses it.
int createBeside(const QString &target, QByteArray *name)
{
    static std::atomic<unsigned> counter{0};
    const QFileInfo info(target);
    const QByteArray stem = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName());
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = stem + '.' + QByteArray::number(qint64(::getpid())) + '-' + QByteArray::number(counter++) + ".tmp";
        const int fd = retryOnInterrupt(
            [&] { return ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString fileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return msg::DiskFull;
    case EACCES:
    case EPERM:
        return msg::NoPermission;
    case EROFS:
        return msg::ReadOnlyPlace;
    case ENOENT:
    case ENOTDIR:
        return msg::NotFound;
    case EISDIR:
        return msg::FolderOfThatName;
    case ENAMETOOLONG:
        return msg::NameTooLong;
    case EFBIG:
        return msg::FileTooBig;
    case EMFILE:
    case ENFILE:
        return msg::TooManyOpen;
    default:
        return msg::fileError(errorNumber);
    }
}

namespace {

// Opens path for reading when it is a regular file of at most limit bytes;
// -1 (and *error, *missing set) otherwise. *size is its size at the opening.
int openBounded(const QString &path, qint64 limit, qint64 *size, QString *error, bool *missing)
{
    if (missing)
        *missing = false;
    // Non-blocking, so that opening a pipe nobody writes to returns at once.
    const int fd = path.isEmpty() ? (errno = ENOENT, -1)
                                  : retryOnInterrupt([&] {
                                        return ::open(QFile::encodeName(path).constData(),
                                                      O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
                                    });
    if (fd < 0) {
        if (missing)
            *missing = errno == ENOENT;
        fail(error, fileErrorReason(errno));
        return -1;
    }
    struct stat st {};
    QString why;
    if (::fstat(fd, &st) != 0)
        why = fileErrorReason(errno);
    else if (!S_ISREG(st.st_mode))
        why = S_ISDIR(st.st_mode) ? msg::IsFolder : msg::NotRegularFile;
    else if (st.st_size > limit)
        why = msg::tooLarge(limit);
    if (!why.isEmpty()) {
        fail(error, why);
        ::close(fd);
        return -1;
    }
    *size = st.st_size;
    return fd;
}

// Reads from fd into buffer until the end of the file or until capacity
// bytes; the count read, or -1 on an error.
qint64 readUpTo(int fd, char *buffer, qint64 capacity)
{
    qint64 got = 0;
    while (got < capacity) {
        const ssize_t n = ::read(fd, buffer + got, size_t(capacity - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

} // namespace

std::optional<QByteArray> readBytes(const QString &path, qint64 limit, QString *error, bool *missing)
{
    qint64 size = 0;
    const int fd = openBounded(path, limit, &size, error, missing);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    // The file may grow while we read: never take more than the limit.
    QByteArray bytes(qsizetype(size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > limit)
                break;
            bytes.resize(qsizetype(std::min<qint64>(limit + 1, qint64(got) * 2 + 4096)));
        }
        const qint64 wanted = bytes.size() - got;
        const qint64 n = readUpTo(fd, bytes.data() + got, wanted);
        if (n < 0) {
            got = -1;
            break;
        }
        got += qsizetype(n);
        if (n < wanted)
            break; // the end of the file
    }
    if (got < 0) {
        fail(error, fileErrorReason(errno));
    } else if (got > limit) {
        fail(error, msg::tooLarge(limit));
    } else {
        bytes.truncate(got);
        result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

std::optional<qint64> readBytesInto(const QString &path, qint64 limit, const std::function<char *(qint64 size)> &buffer,
                                    QString *error)
{
    qint64 size = 0;
    const int fd = openBounded(path, limit, &size, error, nullptr);
    if (fd < 0)
        return std::nullopt;
    // Closed however the caller's buffer() leaves.
    const struct Closing
    {
        int fd;
        ~Closing() { ::close(fd); }
    } closing{fd};
    std::optional<qint64> result;
    char *memory = buffer(size);
    if (!memory) {
        fail(error, fileErrorReason(ENOMEM));
    } else {
        // One byte more than the size: a file that grew since it was opened
        // fills it, and is refused rather than cut short.
        const qint64 got = readUpTo(fd, memory, size + 1);
        if (got < 0)
            fail(error, fileErrorReason(errno));
        else if (got != size)
            fail(error, msg::ChangedWhileRead);
        else
            result = got;
    }
    return result;
}

std::optional<QStringList> readLines(const QString &path, QString *error)
{
    const auto bytes = readBytes(path, TextLimit, error);
    if (!bytes)
        return std::nullopt;
    return splitLines(cp932::decode(*bytes));
}

std::optional<QStringList> readLines(const QString &path)
{
    return readLines(path, nullptr);
}

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? cp932::decode(bytes) : text;
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += cp932::encode(line);
        out += "\r\n";
    }
    return out;
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error, Durability durability)
{
    if (path.isEmpty())
        return fail(error, fileErrorReason(ENOENT));
    // Through a link, the file it points to is replaced and the link kept.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return fail(error, fileErrorReason(EISDIR));
    // A device, a pipe or a socket is never replaced by a file (as root that
    // could be /dev/null): it is left as it was.
    if (exists && !S_ISREG(old.st_mode))
        return fail(error, msg::NotAFileOfThatName);

    QByteArray temporary;
    const int fd = createBeside(target, &temporary);
    if (fd < 0)
        return fail(error, fileErrorReason(errno));
    // Every step is checked: a full disk shows up in write() or only at fsync().
    bool ok = writeAll(fd, bytes) &&
              (durability == Durability::Scratch || retryOnInterrupt([&] { return ::fsync(fd); }) == 0);
    if (ok && exists)
        ::fchmod(fd, old.st_mode & 07777); // keeps the old file's permissions; a failure here is harmless
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    // Renaming over an existing file makes ext4 start writing the new one to
    // the disk at once (its guard for programs that never sync), which a
    // scratch file does not need: the old one goes first.
    if (ok && exists && durability == Durability::Scratch)
        ::unlink(QFile::encodeName(target).constData());
    if (ok && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return fail(error, fileErrorReason(savedErrno));
    }
    return true;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    // Never a '?' for a character the file cannot hold: nothing is written.
    if (const QStringList lost = cp932::missing(lines.join(u'\n')); !lost.isEmpty()) {
        if (error)
            *error = msg::unstorable(lost).section(u'\n', 0, 0);
        return false;
    }
    return writeAtomically(path, encodeLines(lines), error);
}

} // namespace kr31::textfile
