#include "editors/text/WordFile.h"

#include "core/Messages.h"
#include "editors/text/TextLanguage.h"
#include "program/ProgramFile.h"

namespace kr31::wordfile {

QStringList fileLines(const QStringList &text, const QStringList &compiled, bool passedCheck)
{
    if (!passedCheck)
        return QStringList{QStringLiteral("WORD")} + text;
    return QStringList{QStringLiteral("LED")} + compiled + QStringList{programfile::TextMarker} + text;
}

ReadResult readLines(const QStringList &lines, const QStringList &names)
{
    ReadResult result;
    if (lines.isEmpty()) {
        result.fail(FileRead::Unreadable, msg::EmptyFile);
        return result;
    }
    const QString &marker = lines.first();
    if (marker == QLatin1String("WORD")) {
        result.text = lines.mid(1);
        result.fromText = true;
        return result;
    }
    if (marker != QLatin1String("LED") && marker != QLatin1String("FURO") && marker != QLatin1String("LITE")) {
        result.fail(FileRead::OtherStep);
        return result;
    }
    const qsizetype textLine = lines.indexOf(programfile::TextMarker, 1);
    if (textLine > 0) {
        result.text = lines.mid(textLine + 1);
        result.fromText = true;
        return result;
    }
    const qsizetype data = lines.indexOf(programfile::DataMarker, 1);
    result.text = textlang::toText(lines.mid(1, data < 0 ? -1 : data - 1), names);
    result.converted = true;
    return result;
}

ReadResult read(const QString &path, const QStringList &names)
{
    return programfile::readFile<ReadResult>(path,
                                             [&names](const QStringList &lines) { return readLines(lines, names); });
}

} // namespace kr31::wordfile
