#include "program/ProgramFile.h"

#include "core/Messages.h"

#include "core/TextFile.h"

namespace kr31 {

std::optional<ProgramFile> ProgramFile::read(const QString &path)
{
    return read(path, nullptr);
}

std::optional<ProgramFile> ProgramFile::read(const QString &path, QString *error)
{
    auto lines = textfile::readLines(path, error);
    if (!lines)
        return std::nullopt;
    ProgramFile file;
    if (!lines->isEmpty())
        file.marker = lines->takeFirst();
    file.lines = std::move(*lines);
    return file;
}

QStringList ProgramFile::commandSection() const
{
    QStringList section;
    for (const QString &line : lines) {
        if (line == QLatin1String("DATA") || line == QLatin1String("TEXT"))
            break;
        section.append(line);
    }
    return section;
}

bool ProgramFile::isLedList() const
{
    return marker == QLatin1String("LED") || marker == QLatin1String("LITE");
}

namespace programfile {

bool hasProgramExtension(const QString &path)
{
    return path.endsWith(QLatin1String(".kr3"), Qt::CaseInsensitive);
}

QString saveName(const QString &chosen)
{
    return hasProgramExtension(chosen) ? chosen : chosen + QStringLiteral(".kr3");
}

QString readMessage(bool otherStep, bool failed)
{
    return otherStep ? msg::OtherStep112 : failed ? msg::OpenError102 : QString();
}

} // namespace programfile
} // namespace kr31
