#include "report/ReportPage.h"

#include "core/Cp932.h"
#include "core/TextFile.h"
#include "core/TextTools.h"
#include "program/CommandList.h"

#include <QRegularExpression>

namespace kr31::report {

namespace {

const QString NamePlaceholder = QStringLiteral("E1");
const QString ImpressionsPlaceholder = QStringLiteral("Kanso");
const QString LineBreak = QStringLiteral("<BR>");
const QString Space = QStringLiteral("　"); // ideographic space between caption and value

// How a command shows in the table.
struct CommandLook
{
    const char *code;
    const char *picture;
    const char *caption1; // UTF-8
    const char *caption2;
};

const CommandLook Looks[] = {
    {"16", "D_on.jpg", "", ""},
    {"17", "D_off.jpg", "", ""},
    {"18", "D_light.jpg", "明るさ", ""},
    {"19", "fadein.jpg", "明るさ", "更新単位"},
    {"20", "fadeout.jpg", "明るさ", "更新単位"},
    {"21", "timer.jpg", "秒数", ""},
    {"22", "D_repeat.jpg", "戻り番地", "繰返回数"},
    {"221", "D_repeat.jpg", "戻り番地", "繰返回数"},
    {"222", "D_repeat.jpg", "戻り番地", "繰返回数"},
    {"231", "D_repeat.jpg", "戻り番地", "繰返回数"},
    {"232", "D_repeat.jpg", "戻り番地", "繰返回数"},
    {"23", "D_touch.jpg", "", ""},
    {"24", "t_in.jpg", "", ""},
    {"25", "t_out.jpg", "", ""},
    {"26", "D_beep.jpg", "", ""},
    {"100", "D_stop.jpg", "", ""},
};

const CommandLook *lookOf(const QString &code)
{
    for (const CommandLook &look : Looks) {
        if (code == QLatin1String(look.code))
            return &look;
    }
    return nullptr;
}

const QString RowStart = QStringLiteral("<tr bgcolor=\"#FFFFFF\">");
const QString NumberCell = QStringLiteral("<td width=\"8%\" height=\"30\"><div align=\"center\">");
const QString CellStart = QStringLiteral("<td width=\"14%\"><div align=\"center\">");
const QString CellEnd = QStringLiteral("</div></td>");
const QString RowEnd = QStringLiteral("</tr>");
const QString BlankRightHalf = QStringLiteral("<td></td><td></td><td></td><td></td><td></td></tr>");
const QString PageEnd = QStringLiteral("</table></div></body></html>");

// The six lines of one slot: number, picture, two argument cells.
void appendSlot(QStringList &out, const QString &lineStart, int number, const QString &line,
                const QString &programFolder, const QString &lineEnd)
{
    const CommandLook *look = lookOf(commandlist::field(line, 1));
    const QString caption1 = look ? QString::fromUtf8(look->caption1) : QString();
    const QString caption2 = look ? QString::fromUtf8(look->caption2) : QString();
    out.append(lineStart + NumberCell + QString::number(number) + CellEnd);
    out.append(CellStart);
    if (look) {
        out.append(QStringLiteral("<img src=\"") + escaped(programFolder + PictureFolder)
                   + QString::fromLatin1(look->picture) + QStringLiteral("\" width=\"30\" height=\"30\">"));
    } else {
        out.append(QString());
    }
    out.append(CellEnd);
    out.append(CellStart + caption1 + Space + escaped(commandlist::field(line, 2)) + CellEnd);
    out.append(CellStart + caption2 + Space + escaped(commandlist::field(line, 3)) + CellEnd + lineEnd);
}

} // namespace

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'&': out += QLatin1String("&amp;"); continue;
        case u'<': out += QLatin1String("&lt;"); continue;
        case u'>': out += QLatin1String("&gt;"); continue;
        case u'"': out += QLatin1String("&quot;"); continue;
        default: break;
        }
        if (c.unicode() < 0x80) {
            out += c;
            continue;
        }
        // A character outside code page 932 (𠮷 in a family name, an emoji)
        // would be written as '?'; a numeric reference keeps it on the page.
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (cp932::canEncode(character))
            out += character;
        else
            out += QStringLiteral("&#%1;").arg(character.toUcs4().value(0));
        if (pair)
            ++i;
    }
    return out;
}

bool namesComplete(const QString &grade, const QString &cls, const QString &name)
{
    return !grade.isEmpty() && !cls.isEmpty() && !name.isEmpty();
}

QString nameLine(const QString &grade, const QString &cls, const QString &name)
{
    return grade + QStringLiteral("年") + cls + QStringLiteral("組　") + name;
}

QString pictureFile(const QString &code)
{
    const CommandLook *look = lookOf(code);
    return look ? QString::fromLatin1(look->picture) : QString();
}

const QStringList &templateLines()
{
    static const QStringList lines = [] {
        const QString table =
            QStringLiteral("  <table width=\"90%\" border=\"0\" cellpadding=\"1\" cellspacing=\"1\" bgcolor=\"#000000\" >");
        const QStringList header = {
            QStringLiteral("      <td width=\"8%\"><div align=\"center\">番号</div></td>"),
            QStringLiteral("      <td width=\"14%\"><div align=\"center\">命令</div></td>"),
            QStringLiteral("      <td width=\"14%\"><div align=\"center\">引数１</div></td>"),
            QStringLiteral("      <td width=\"14%\"><div align=\"center\">引数2</div></td>"),
        };
        QStringList t = {
            QStringLiteral("<html>"),
            QStringLiteral("<head>"),
            QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=shift_jis\">"),
            QStringLiteral("<title>レポート</title>"),
            QStringLiteral("<style type=\"text/css\">"),
            QStringLiteral("<!--"),
            QStringLiteral("table{font-size: 12px}"),
            QStringLiteral("-->"),
            QStringLiteral("</style>"),
            QStringLiteral("</head>"),
            QStringLiteral("<body>"),
            QStringLiteral("<div align=\"center\" class=\"style1\">"),
            QStringLiteral("  <p><font size=\"4\"><strong>E1</strong></font>"),
            QStringLiteral("  </p>"),
            table,
            QStringLiteral("    <caption align=\"left\">"),
            QStringLiteral("    <strong><font size=\"3\">プログラム目的と感想</font></strong>    "),
            QStringLiteral("    </caption>"),
            QStringLiteral("    <tr bgcolor=\"#FFFFFF\">"),
            QStringLiteral("      <td>Kanso</td>"),
            QStringLiteral("    </tr>"),
            QStringLiteral("  </table>"),
            QStringLiteral("  <br>"),
            table,
            QStringLiteral("    <caption align=\"left\">"),
            QStringLiteral("    <strong><span class=\"style2\"><font size=\"3\"> プログラム</font> "),
            QStringLiteral("</span></strong>"),
            QStringLiteral("    </caption>"),
            QStringLiteral("    <tr bgcolor=\"#FFFFFF\">"),
        };
        t += header;
        t += header;
        t.append(QStringLiteral("    </tr>"));
        return t;
    }();
    return lines;
}

QStringList pageLines(const QString &grade, const QString &cls, const QString &name, const QString &impressions,
                      const QStringList &commandList, const QString &programFolder)
{
    const QString nameText = escaped(nameLine(grade, cls, name));
    QString impressionsText;
    for (const QString &line : textfile::splitLines(impressions))
        impressionsText += escaped(line) + LineBreak;

    QStringList out;
    for (const QString &line : templateLines()) {
        // One substitution per line, so that a learner's text that happens to
        // hold a placeholder is never replaced again.
        if (line.contains(NamePlaceholder))
            out.append(text::replaceAll(line, NamePlaceholder, nameText));
        else if (line.contains(ImpressionsPlaceholder))
            out.append(text::replaceAll(line, ImpressionsPlaceholder, impressionsText));
        else
            out.append(line);
    }

    for (int k = 1; k <= Rows; ++k) {
        appendSlot(out, RowStart, k, commandList.value(k - 1), programFolder, QString());
        if (k == Rows)
            out.append(BlankRightHalf);
        else
            appendSlot(out, QString(), k + Rows, commandList.value(k + Rows - 1), programFolder, RowEnd);
    }
    out.append(PageEnd);
    return out;
}

bool writePage(const QString &path, const QStringList &lines, QString *error)
{
    return textfile::writeLines(path, lines, error);
}

QString displayHtml(const QString &html)
{
    QString out = html;
    out.replace(QStringLiteral("<table width=\"90%\" border=\"0\" cellpadding=\"1\" cellspacing=\"1\" bgcolor=\"#000000\" >"),
                QStringLiteral("<table width=\"100%\" border=\"1\" cellpadding=\"4\" cellspacing=\"0\" "
                               "style=\"border-collapse: collapse; border-color: #000000; border-style: solid\">"));
    out.replace(QStringLiteral("<td width=\"14%\"><div align=\"center\">"),
                QStringLiteral("<td width=\"14%\" style=\"white-space: nowrap\"><div align=\"center\">"));
    out.replace(QStringLiteral("<td width=\"8%\""), QStringLiteral("<td width=\"8%\" style=\"white-space: nowrap\""));
    // Row 24's blank right half has a fifth cell, which made a ninth column.
    out.replace(BlankRightHalf, QStringLiteral("<td></td><td></td><td></td><td></td></tr>"));
    // The program table's header row starts every printed page.
    static const QRegularExpression headerRow(
        QStringLiteral("<tr bgcolor=\"#FFFFFF\">(\\s*<td[^>]*><div align=\"center\">番号.*?</tr>)"),
        QRegularExpression::DotMatchesEverythingOption);
    out.replace(headerRow, QStringLiteral("<thead><tr bgcolor=\"#FFFFFF\">\\1</thead>"));
    return out;
}

} // namespace kr31::report
