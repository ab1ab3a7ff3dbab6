#pragma once

#include <QString>

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

} // namespace kr31::text
