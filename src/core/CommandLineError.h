#pragma once

#include "core/Messages.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace kr31 {

// What a failed QCommandLineParser::parse() complains about, in Japanese:
// an unknown option, or an option given without its value.
inline QString commandLineError(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString &name = unknown.first();
        return msg::unknownOption(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    static const QRegularExpression quoted(QStringLiteral("'([^']+)'"));
    const auto match = quoted.match(parser.errorText());
    return match.hasMatch() ? msg::optionValueMissing(match.captured(1)) : parser.errorText();
}

} // namespace kr31
