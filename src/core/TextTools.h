#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kr31::text {

// Every occurrence of pattern, found from the left and not overlapping,
// replaced by replacement. An empty pattern changes nothing.
QString replaceAll(const QString &text, const QString &pattern, const QString &replacement);

// True when the whole text is an optional sign and digits, fits an int, and is not "-0".
bool isInteger(const QString &text);

// The text as a decimal int (optional sign, digits, nothing else); nullopt otherwise.
std::optional<int> toInt(const QString &text);

// numerator / denominator rounded to the nearest integer, halves to even.
// denominator must be positive.
qint64 roundHalfEven(qint64 numerator, qint64 denominator);

// Where a line of Japanese text may break without cutting a word: the
// indexes i (0 < i < size) at which a line may begin. Japanese has no spaces,
// so phrases are told by their script: a phrase ends with hiragana (its
// particle or ending) and the next begins with kanji, katakana, a letter or a
// digit; kanji and katakana words meet inside a compound ("文字|プログラミング");
// a break comes after a space, "、", "。", "＆" or "・". Never before a
// closing mark, a small kana or "ー".
QList<qsizetype> phraseBreaks(const QString &text);

// The text in lines no wider than width (advance measures a piece), broken
// only at phraseBreaks(); a phrase wider than width alone is broken where
// Unicode's line breaking allows. Joined, the lines give the text back.
QStringList wrapPhrases(const QString &text, int width, const std::function<int(const QString &)> &advance);

} // namespace kr31::text
