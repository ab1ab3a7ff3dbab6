#include "editors/icon/IconFile.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/TextTools.h"
#include "program/CommandList.h"
#include "program/ProgramFile.h"

namespace kr31::iconfile {

QStringList fileLines(const IconProgram &program, bool passedCheck)
{
    QStringList lines{passedCheck ? QStringLiteral("LED") : QStringLiteral("DD")};
    lines.append(program.compileSlots());
    return lines;
}

bool hasProgramExtension(const QString &path)
{
    return programfile::hasProgramExtension(path);
}

QString saveName(const QString &chosen)
{
    return programfile::saveName(chosen);
}

ReadResult readLines(const QStringList &lines)
{
    ReadResult result;
    const auto accepted = [](const QString &marker) {
        return marker == QLatin1String("LED") || marker == QLatin1String("DD") || marker == QLatin1String("LITE");
    };
    if (!programfile::readMarker(result, lines, accepted))
        return result;
    // Lines beyond the 47th command line have no slot and are ignored.
    for (int slot = 0; slot < icon::SlotCount && slot + 1 < lines.size(); ++slot) {
        const QString &line = lines.at(slot + 1);
        if (line == programfile::DataMarker || line == programfile::TextMarker)
            break;
        const QString first = commandlist::field(line, 1);
        const auto code = text::toInt(first);
        if (!code) {
            result.fail(FileRead::BrokeOff, msg::badLine(slot + 2));
            break;
        }
        if (first == QLatin1String("27"))
            continue;
        result.program.load(slot, *code, commandlist::field(line, 2), commandlist::field(line, 3));
    }
    return result;
}

ReadResult read(const QString &path)
{
    return programfile::readFile<ReadResult>(path, readLines);
}

} // namespace kr31::iconfile
