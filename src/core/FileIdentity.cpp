#include "core/FileIdentity.h"

#include <cerrno>
#include <sys/stat.h>

namespace kr31 {

bool changedWithin(const FileIdentity &file, qint64 windowNs)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 settled = nanoseconds(now) - windowNs;
    return file.modifiedNs >= settled || file.changedNs >= settled;
}

std::optional<FileIdentity> identityOf(const QByteArray &nativePath)
{
    struct stat st{};
    if (::stat(nativePath.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileIdentity{};
        return std::nullopt;
    }
    return FileIdentity{true,
                        S_ISREG(st.st_mode),
                        qint64(st.st_size),
                        nanoseconds(st.st_mtim),
                        nanoseconds(st.st_ctim),
                        quint64(st.st_ino),
                        quint64(st.st_dev)};
}

} // namespace kr31
