#include "program/ProgramFile.h"

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
        if (line == programfile::DataMarker || line == programfile::TextMarker)
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

Editor editorOf(const ProgramFile &file)
{
    const QString &m = file.marker;
    if (m == QLatin1String("FURO") || (m == QLatin1String("LED") && file.lines.contains(DataMarker)))
        return Editor::Flowchart;
    if (m == QLatin1String("WORD") || (file.isLedList() && file.lines.contains(TextMarker)))
        return Editor::Text;
    if (m == QLatin1String("LED") || m == QLatin1String("DD") || m == QLatin1String("LITE"))
        return Editor::Icon;
    return m == QLatin1String("MELODY") ? Editor::Melody : Editor::None;
}

} // namespace programfile
} // namespace kr31
