#include "core/IniFile.h"

#include "core/Cp932.h"
#include "core/TextFile.h"
#include "core/TextTools.h"

#include <QFile>

namespace kr31 {

namespace {

// The file's lines as raw bytes, so that lines we do not touch are written
// back exactly as they were.
std::optional<QList<QByteArray>> readRawLines(const QString &path, bool *missing)
{
    QFile file(path);
    *missing = !file.exists();
    if (*missing)
        return QList<QByteArray>{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
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
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

std::optional<QString> IniFile::value(const QString &section, const QString &key, bool *readError) const
{
    bool missing = false;
    const auto lines = readRawLines(m_path, &missing);
    if (readError)
        *readError = !lines.has_value();
    if (!lines)
        return std::nullopt;
    bool inSection = false;
    for (const QByteArray &raw : *lines) {
        const QString line = cp932::decode(raw);
        if (const auto name = sectionName(line)) {
            if (inSection)
                break; // the first section of that name is the one read
            inSection = same(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = keyLine(line); kv && same(kv->key, key))
            return kv->value;
    }
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
    bool missing = false;
    auto lines = readRawLines(m_path, &missing);
    if (!lines)
        return false;
    for (const auto &[key, value] : entries)
        setInLines(*lines, section, key, value);
    QByteArray bytes;
    for (const QByteArray &line : *lines)
        bytes += line + "\r\n";
    return textfile::writeAtomically(m_path, bytes);
}

} // namespace kr31
