#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>
#include <optional>

namespace kr31 {

// A file as stat() sees it: while two readings are equal, the file did not change.
struct FileIdentity
{
    bool exists = false;
    bool regular = false; // a plain file (no folder, device or pipe)
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const FileIdentity &) const = default;
};

inline qint64 nanoseconds(const timespec &t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// Whether the file's modification or change time lies within window before
// now: a further change within the same tick of the file system's clock could
// then leave its size and times as they are.
bool changedWithin(const FileIdentity &file, qint64 windowNs);

// The file at nativePath as it is now; an identity with exists false when it
// is missing, nullopt when stat() fails for another reason.
std::optional<FileIdentity> identityOf(const QByteArray &nativePath);

} // namespace kr31
