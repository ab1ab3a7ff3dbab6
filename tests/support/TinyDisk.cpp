#include "support/TinyDisk.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace kr31::test {

TinyDisk::TinyDisk()
{
    const QByteArray where = QFile::encodeName(m_dir.path());
    m_mounted = m_dir.isValid() && ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=64k,mode=0755") == 0;
}

TinyDisk::~TinyDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

void TinyDisk::put(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        qFatal("cannot prepare %s", qPrintable(file.fileName()));
}

void TinyDisk::fill() const
{
    const int fd = ::open(QFile::encodeName(path(QStringLiteral("filler"))).constData(), O_WRONLY | O_CREAT, 0644);
    const QByteArray block(4096, 'x');
    while (fd >= 0 && ::write(fd, block.constData(), block.size()) > 0) {
    }
    while (fd >= 0 && ::write(fd, block.constData(), 1) > 0) {
    }
    if (fd >= 0)
        ::close(fd);
}

bool TinyDisk::makeReadOnly() const
{
    return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                   "size=64k") == 0;
}

} // namespace kr31::test
