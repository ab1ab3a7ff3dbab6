#include "editors/flowchart/FlowchartFile.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/TextTools.h"
#include "program/ProgramFile.h"
#include "program/CommandList.h"

namespace kr31::flowfile {

namespace {

const QString &DataLine = programfile::DataMarker;

bool acceptedMarker(const QString &marker)
{
    return marker == QLatin1String("LED") || marker == QLatin1String("FURO") || marker == QLatin1String("LITE");
}

// A loop line of the text language as a repeat entry; other lines unchanged.
QString asEntry(const QString &line)
{
    const QString c = commandlist::field(line, 1);
    const bool lessOne = c == QLatin1String("221") || c == QLatin1String("231");
    if (!lessOne && c != QLatin1String("222") && c != QLatin1String("232"))
        return line;
    QString count = commandlist::field(line, 3);
    if (lessOne) {
        const std::optional<int> n = text::toInt(count);
        if (!n)
            return line;
        count = QString::number(qint64(*n) - 1);
    }
    return QStringLiteral("22,") + commandlist::field(line, 2) + u',' + count;
}

} // namespace

QString markerFor(const QStringList &compiledList)
{
    return commandlist::total(compiledList) > limits::MaxTotal ? QStringLiteral("FURO") : QStringLiteral("LED");
}

QStringList fileLines(const FlowchartProgram &program, const QString &marker)
{
    QStringList lines{marker};
    lines.append(program.CompiledList);
    lines.append(DataLine);
    lines.append(program.pageLines());
    return lines;
}

ReadResult readLines(const QStringList &lines)
{
    ReadResult result;
    if (!programfile::readMarker(result, lines, acceptedMarker))
        return result;
    FlowchartProgram &program = result.program;
    const qsizetype data = lines.indexOf(DataLine, 1);
    if (data < 0) {
        // A command list of another editor: its lines are the main program.
        for (qsizetype i = 1; i < lines.size() && i <= flow::SlotCount; ++i) {
            if (lines.at(i) == programfile::TextMarker)
                break;
            program.Pages[0][i - 1] = asEntry(lines.at(i));
        }
        return result;
    }
    for (int page = 0; page < flow::PageCount; ++page) {
        const qsizetype at = data + 1 + page;
        if (at >= lines.size()) {
            result.fail(FileRead::BrokeOff, msg::pagesMissing(int(lines.size())));
            break;
        }
        const QStringList fields = lines.at(at).split(u'/');
        if (fields.first() == flow::EmptySlot)
            continue;
        for (int slot = 0; slot < flow::SlotCount && slot < fields.size(); ++slot)
            program.Pages[page][slot] = fields.at(slot);
        // The "/" that ends a line leaves an empty last field: no slot text.
        if (fields.size() <= flow::SlotCount && fields.last().isEmpty())
            program.Pages[page][fields.size() - 1] = flow::EmptySlot;
        if (page > 0)
            program.SubroutineCount = page;
    }
    return result;
}

ReadResult read(const QString &path)
{
    return programfile::readFile<ReadResult>(path, readLines);
}

bool hasPages(const QStringList &lines)
{
    return !lines.isEmpty() && (lines.first() == QLatin1String("LED") || lines.first() == QLatin1String("FURO")) &&
           lines.indexOf(DataLine, 1) > 0;
}

} // namespace kr31::flowfile
