#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace kr31 {

// An INI file with the Windows rules: section and key names compare without
// regard to case, values are trimmed (and lose one pair of enclosing quotes),
// lines starting with ';' are comments, text is code page 932. Every call
// opens, reads or rewrites, and closes the file, so a change made by anyone
// else applies at the next call. A write keeps every other line byte for byte.
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

private:
    QString m_path;
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
