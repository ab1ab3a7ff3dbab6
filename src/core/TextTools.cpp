#include "core/TextTools.h"

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

} // namespace kr31::text
