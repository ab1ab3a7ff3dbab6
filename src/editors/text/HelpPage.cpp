#include "editors/text/HelpPage.h"

#include <QUrl>

#include <algorithm>

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
    // Every word found in the template's text is replaced in one pass, so
    // that a name holding a placeholder is not replaced again (names from a
    // hand-edited set.ini could otherwise grow a line without bound).
    QList<std::pair<QString, QString>> words;
    for (const auto &[placeholder, key] : placeholders)
        words.append({QString::fromLatin1(placeholder), names.value(key - 1).toHtmlEscaped()});
    words.append({QStringLiteral("../size.css"), url(QStringLiteral("HTML/size.css"))});
    for (const char *page : pages)
        words.append({QString::fromLatin1(page), url(QStringLiteral("HTML/Word/") + QString::fromLatin1(page))});
    QStringList out;
    out.reserve(templateLines.size());
    for (const QString &line : templateLines) {
        QString built;
        for (qsizetype at = 0; at < line.size();) {
            const auto found = std::find_if(words.cbegin(), words.cend(),
                                            [&](const auto &word) { return QStringView(line).sliced(at).startsWith(word.first); });
            if (found == words.cend()) {
                built.append(line.at(at++));
            } else {
                built.append(found->second);
                at += found->first.size();
            }
        }
        out.append(built);
    }
    return out;
}

} // namespace kr31::helppage
