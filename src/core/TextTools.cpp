#include "core/TextTools.h"

#include <QTextBoundaryFinder>

namespace kr31::text {

QString replaceAll(const QString &text, const QString &pattern, const QString &replacement)
{
    if (pattern.isEmpty())
        return text;
    QString result = text;
    return result.replace(pattern, replacement, Qt::CaseSensitive);
}

std::optional<int> toInt(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j) {
        if (text.at(j) < u'0' || text.at(j) > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

bool isInteger(const QString &text)
{
    return text != QLatin1String("-0") && toInt(text).has_value();
}

qint64 roundHalfEven(qint64 numerator, qint64 denominator)
{
    Q_ASSERT(denominator > 0);
    qint64 q = numerator / denominator;
    qint64 r = numerator % denominator;
    if (r < 0) {
        r += denominator;
        --q;
    }
    // Now numerator = q * denominator + r with 0 <= r < denominator.
    if (2 * r > denominator || (2 * r == denominator && (q & 1)))
        ++q;
    return q;
}

namespace {

enum class Script { Hiragana, Katakana, Kanji, Alnum, Other };

Script scriptOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0x3041 && u <= 0x309F)
        return Script::Hiragana;
    if ((u >= 0x30A0 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F))
        return Script::Katakana;
    if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || u == 0x3005)
        return Script::Kanji;
    if ((u < 0x80 && c.isLetterOrNumber()) || (u >= 0xFF10 && u <= 0xFF5A))
        return Script::Alnum;
    return Script::Other;
}

// Marks that never begin a line: closing marks, small kana, the long vowel.
bool neverStartsLine(QChar c)
{
    static const QString marks = QStringLiteral("、。，．！？）」』】ー－～ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ");
    return marks.contains(c) || c == u' ';
}

bool breakBetween(QChar before, QChar after)
{
    if (neverStartsLine(after))
        return false;
    if (before == u' ' || QStringLiteral("、。！？）」』＆・").contains(before))
        return true;
    const Script a = scriptOf(before);
    const Script b = scriptOf(after);
    if (a == Script::Hiragana)
        return b == Script::Kanji || b == Script::Katakana || b == Script::Alnum;
    return (a == Script::Kanji && b == Script::Katakana) || (a == Script::Katakana && b == Script::Kanji);
}

// Breaks a piece wider than width where Unicode's line breaking allows (between
// any two kana or kanji), as full lines as fit.
QStringList breakAnywhere(const QString &piece, int width, const std::function<int(const QString &)> &advance)
{
    QStringList lines;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, piece);
    qsizetype start = 0;
    qsizetype last = 0; // the last break that still fits
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        if (advance(piece.mid(start, at - start)) > width && last > start) {
            lines.append(piece.mid(start, last - start));
            start = last;
        }
        last = at;
    }
    lines.append(piece.mid(start));
    return lines;
}

} // namespace

QList<qsizetype> phraseBreaks(const QString &text)
{
    QList<qsizetype> breaks;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (breakBetween(text.at(i - 1), text.at(i)))
            breaks.append(i);
    }
    return breaks;
}

QStringList wrapPhrases(const QString &text, int width, const std::function<int(const QString &)> &advance)
{
    QStringList lines;
    QString line;
    qsizetype start = 0;
    QList<qsizetype> ends = phraseBreaks(text);
    ends.append(text.size());
    for (const qsizetype end : ends) {
        const QString phrase = text.mid(start, end - start);
        start = end;
        if (advance(line + phrase) <= width) {
            line += phrase;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        QStringList pieces = advance(phrase) <= width ? QStringList{phrase} : breakAnywhere(phrase, width, advance);
        line = pieces.takeLast();
        lines.append(pieces);
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace kr31::text
