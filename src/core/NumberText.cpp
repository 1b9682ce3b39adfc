#include "core/NumberText.h"

#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::optional<qint32> ParseWholeNumber(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;

    qsizetype i = begin;
    bool negative = false;
    if (i < end && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }

    // Magnitude accumulates one past the widest value, so that any longer
    // digit run is known to be out of range without overflowing.
    constexpr qint64 limit = qint64(std::numeric_limits<qint32>::max()) + 2;
    qint64 magnitude = 0;
    qsizetype digits = 0;
    for (; i < end && isDigit(text.at(i)); ++i, ++digits)
        magnitude = qMin(limit, magnitude * 10 + (text.at(i).unicode() - u'0'));

    qsizetype fractionDigits = 0;
    int firstFraction = 0;       // first digit after the point
    bool restNonZero = false;    // any non-zero digit after the first one
    if (i < end && text.at(i) == QLatin1Char('.')) {
        for (++i; i < end && isDigit(text.at(i)); ++i, ++fractionDigits) {
            if (fractionDigits == 0)
                firstFraction = (text.at(i).unicode() - u'0');
            else if (text.at(i) != QLatin1Char('0'))
                restNonZero = true;
        }
    }
    if (i != end || digits + fractionDigits == 0)
        return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 == 1));
    if (roundUp)
        magnitude = qMin(limit, magnitude + 1);

    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}
