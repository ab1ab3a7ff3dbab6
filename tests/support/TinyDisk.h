#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kr31::test {

// A 64 KiB file system of its own (tmpfs), for faults a real disk shows:
// filled to the last byte, or made read-only. Mounting needs root (CI runs as
// root); elsewhere available() is false and whyNot() says so for QSKIP.
class TinyDisk
{
public:
    TinyDisk();
    ~TinyDisk();
    bool available() const { return m_mounted; }
    const char *whyNot() const { return "mounting a small tmpfs needs root (CAP_SYS_ADMIN)"; }
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }
    // Writes bytes into a file of that name (at once, on a disk with room).
    void put(const QString &name, const QByteArray &bytes) const;
    // Fills every free byte with one large file.
    void fill() const;
    // Mounts the disk again read-only.
    bool makeReadOnly() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace kr31::test
