#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <chrono>
#include <optional>

namespace kr31 {

// An INI file with the Windows rules: section and key names compare without
// regard to case, values are trimmed (and lose one pair of enclosing quotes),
// lines starting with ';' are comments, text is code page 932. A change made
// by anyone else applies at the next call: what a file held is kept together
// with its identity (size, modification and change times to the nanosecond,
// inode, device), and the file is read again whenever that differs. While a
// FolderWatch of the file lives, its folder is watched (inotify) and a call
// costs one look at an empty event queue instead of a stat(). A write keeps
// every other line byte for byte.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // The value of key in section; nullopt when the file, section or key is
    // missing. *readError (if given) is set when the file exists but cannot be read.
    std::optional<QString> value(const QString &section, const QString &key, bool *readError = nullptr) const;

    // The value read as a decimal integer (optional sign, digits); fallback
    // when missing or not such an integer.
    int integer(const QString &section, const QString &key, int fallback) const;

    // Sets key in section to value, adding the section or key where missing.
    // Returns false when the file cannot be written.
    bool setValue(const QString &section, const QString &key, const QString &value);

    // Sets several keys of one section with a single rewrite of the file.
    bool setValues(const QString &section, const QList<QPair<QString, QString>> &entries);

    // How many times a file was read and parsed, by any IniFile (the other
    // calls were answered from what was kept).
    static quint64 fileReads();

    // A file whose times lie less than window before the reading is read again
    // at every call: a further change within the same tick of the file
    // system's clock could leave its size and times as they were. 50 ms by
    // default, well above the kernel's timestamp granularity.
    static void setRecentChangeWindow(std::chrono::nanoseconds window);

    // Watches the folder of a file while it lives, for a run of many reads
    // (a transfer asks for its mode at every byte). The watch is not kept
    // for the whole run: a process that holds one takes several milliseconds
    // longer to end, and the start-up reads too little to gain from it.
    class FolderWatch
    {
    public:
        explicit FolderWatch(const IniFile &file);
        ~FolderWatch();
        FolderWatch(const FolderWatch &) = delete;
        FolderWatch &operator=(const FolderWatch &) = delete;

    private:
        QString m_path;
    };

    // Whether folders may be watched (they are by default); without a watch
    // every call compares the file's identity. Forgets what was kept.
    static void setFolderWatch(bool allowed);

private:
    QString m_path;
    QByteArray m_nativePath; // m_path as the system calls take it
};

// The same rules on a file's bytes in memory.
namespace ini {
// The value of key in section of the bytes; nullopt when missing.
std::optional<QString> valueIn(const QByteArray &bytes, const QString &section, const QString &key);
// The bytes with the keys of section set (added where missing), every other
// line kept byte for byte and every line ended by CR LF.
QByteArray withValues(const QByteArray &bytes, const QString &section, const QList<QPair<QString, QString>> &entries);
} // namespace ini

} // namespace kr31
