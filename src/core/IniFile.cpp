#include "core/IniFile.h"

#include "core/Cp932.h"
#include "core/TextFile.h"
#include "core/TextTools.h"

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

// The file's bytes; empty when it does not exist, nullopt when it cannot be read.
std::optional<QByteArray> readIni(const QString &path)
{
    bool missing = false;
    auto bytes = textfile::readBytes(path, textfile::TextLimit, nullptr, &missing);
    if (missing)
        return QByteArray();
    return bytes;
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
    const auto bytes = readIni(m_path);
    if (readError)
        *readError = !bytes.has_value();
    if (!bytes)
        return std::nullopt;
    return ini::valueIn(*bytes, section, key);
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
    const auto bytes = readIni(m_path);
    if (!bytes)
        return false;
    return textfile::writeAtomically(m_path, ini::withValues(*bytes, section, entries));
}

namespace ini {

std::optional<QString> valueIn(const QByteArray &bytes, const QString &section, const QString &key)
{
    bool inSection = false;
    for (const QString &line : textfile::splitLines(cp932::decode(bytes))) {
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
