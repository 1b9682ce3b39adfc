#include "rename/rules/NumberRule.h"

#include "rename/NameComposition.h"

#include <algorithm>
#include <limits>

namespace {

qsizetype digitRunEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && text.at(from).isDigit())
        ++from;
    return from;
}

} // namespace

NumberRule::NumberRule(const RenameRule &rule, const std::vector<qsizetype> &sorted, qsizetype listSize,
                       int entryCount)
    : RuleStep(rule.scope)
    , m_rule(rule)
    , m_entryCount(entryCount)
{
    m_rank.assign(size_t(listSize), -1);
    const size_t last = sorted.size() - 1;
    for (size_t k = 0; k < sorted.size(); ++k)
        m_rank[size_t(sorted[k])] = qint32(rule.reverse ? last - k : k);
}

QString NumberRule::numberText(qint64 value, RenameRule::Width widthMode, int width, int entryCount)
{
    const qsizetype fill = widthMode == RenameRule::Width::Auto    ? ZeroFillWidth(entryCount)
                           : widthMode == RenameRule::Width::Fixed ? width
                                                                   : 0;
    // Written once, right to left: this runs for every file.
    char16_t digits[24];
    qsizetype count = 0;
    for (quint64 magnitude = value < 0 ? quint64(-(value + 1)) + 1 : quint64(value); count == 0 || magnitude != 0;
         magnitude /= 10)
        digits[count++] = char16_t(u'0' + magnitude % 10);
    const qsizetype sign = value < 0 ? 1 : 0;
    QString text(sign + std::max(count, fill), u'0');
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    if (sign)
        out[0] = u'-';
    for (qsizetype k = 0; k < count; ++k)
        out[text.size() - 1 - k] = digits[k];
    return text;
}

bool NumberRule::naturalLess(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            const qsizetype endA = digitRunEnd(a, i);
            const qsizetype endB = digitRunEnd(b, j);
            QStringView runA = a.mid(i, endA - i);
            QStringView runB = b.mid(j, endB - j);
            while (runA.size() > 1 && runA.front() == u'0')
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == u'0')
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (const int byDigits = runA.compare(runB); byDigits != 0)
                return byDigits < 0;
            i = endA;
            j = endB;
            continue;
        }
        const char32_t ca = QChar::toCaseFolded(a.at(i).unicode());
        const char32_t cb = QChar::toCaseFolded(b.at(j).unicode());
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b;
}

bool NumberRule::apply(QString &name, qsizetype entry)
{
    const qint32 rank = m_rank[size_t(entry)];
    if (rank < 0)
        return true;
    const qint64 value = m_rule.start + m_rule.step * qint64(rank);
    RuleScope::put(name, m_scope, m_rule.place, m_rule.position,
                   numberText(value, m_rule.widthMode, m_rule.width, m_entryCount));
    return true;
}
