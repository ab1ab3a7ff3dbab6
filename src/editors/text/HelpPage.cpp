#include "editors/text/HelpPage.h"

#include "core/TextTools.h"

#include <QUrl>

namespace kr31::helppage {

QStringList build(const QStringList &templateLines, const QStringList &names, const QString &resourceFolder)
{
    // Placeholder and the command key (1..12) whose name replaces it, in this order.
    static const std::pair<const char *, int> placeholders[] = {
        {"Com_On", 1},    {"Com_Off", 2},   {"Com_Light", 3},  {"Com_FIn", 4},
        {"Com_FOut", 5},  {"Com_Timer", 6}, {"Com_Touch", 8},  {"Com_TIn", 9},
        {"Com_TOut", 10}, {"Com_Repeat", 7}, {"Com_Beep", 11}, {"Com_Stop", 12},
    };
    static const char *const pages[] = {"On.html",    "OFF.html",   "Light.html", "F_In.html",
                                        "F_Out.html", "Timer.html", "Touch.html", "T_In.html",
                                        "T_Out.html", "Repeat.html", "Beep.html", "Stop.html"};
    const auto url = [&resourceFolder](const QString &relative) {
        return QUrl::fromLocalFile(resourceFolder + relative).toString(QUrl::FullyEncoded);
    };
    QStringList out;
    out.reserve(templateLines.size());
    for (QString line : templateLines) {
        for (const auto &[placeholder, key] : placeholders)
            line = text::replaceAll(line, QString::fromLatin1(placeholder), names.value(key - 1).toHtmlEscaped());
        line = text::replaceAll(line, QStringLiteral("../size.css"), url(QStringLiteral("HTML/size.css")));
        for (const char *page : pages)
            line = text::replaceAll(line, QString::fromLatin1(page),
                                    url(QStringLiteral("HTML/Word/") + QString::fromLatin1(page)));
        out.append(line);
    }
    return out;
}

} // namespace kr31::helppage
