#include "rename/rules/ReplaceRule.h"

#include "rename/rules/RuleText.h"

namespace {

// What a case escape does to the text it covers.
enum class CaseShift : quint8 { None, Upper, Lower };

void appendShifted(QString &out, QStringView text, CaseShift shift)
{
    switch (shift) {
    case CaseShift::Upper:
        out += text.toString().toUpper();
        break;
    case CaseShift::Lower:
        out += text.toString().toLower();
        break;
    case CaseShift::None:
        out += text;
        break;
    }
}

} // namespace

ReplaceRule::ReplaceRule(const RenameRule &rule)
    : RuleStep(rule.scope)
    , m_rule(rule)
{
}

std::unique_ptr<ReplaceRule> ReplaceRule::make(const RenameRule &rule, QString *error)
{
    std::unique_ptr<ReplaceRule> step(new ReplaceRule(rule));
    if (rule.replaceForm != RenameRule::ReplaceForm::Pattern) {
        if (rule.replaceForm == RenameRule::ReplaceForm::RemoveBetween
            && (rule.find.isEmpty() || rule.endMarker.isEmpty())) {
            *error = RuleText::tr("both markers are needed");
            return nullptr;
        }
        return step;
    }
    if (rule.find.isEmpty()) {
        *error = RuleText::tr("the text to find is empty");
        return nullptr;
    }
    QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
    if (rule.ignoreCase)
        options |= QRegularExpression::CaseInsensitiveOption;
    step->m_expression.setPattern(rule.literal ? QRegularExpression::escape(rule.find) : rule.find);
    step->m_expression.setPatternOptions(options);
    if (!step->m_expression.isValid()) {
        *error = RuleText::tr("the expression \"%1\" does not compile: %2 at character %3")
                     .arg(rule.find, step->m_expression.errorString())
                     .arg(step->m_expression.patternErrorOffset());
        return nullptr;
    }
    if (rule.occurrence == RenameRule::Occurrence::Nth && rule.nth < 1) {
        *error = RuleText::tr("the match to replace is counted from 1");
        return nullptr;
    }
    if (rule.literal)
        step->m_pieces.append({Piece::Type::Text, rule.replacement, 0});
    else if (!step->parseReplacement(rule.replacement, error))
        return nullptr;
    // An expression that opens with "^" and has no alternative matches at
    // the start of the part or nowhere (a start offset past 0 never meets
    // "^" without the multi-line option, and "^" takes no quantifier): the
    // search for a second match, on every name, can be left out.
    const QString &find = rule.find;
    step->m_anchoredAtStart = !rule.literal && find.startsWith(u'^') && !find.contains(u'|');
    for (const Piece &piece : std::as_const(step->m_pieces)) {
        if (piece.type == Piece::Type::Text)
            step->m_replacementLength += piece.text.size();
    }
    step->m_expression.optimize();
    return step;
}

bool ReplaceRule::parseReplacement(const QString &replacement, QString *error)
{
    const int groups = m_expression.captureCount();
    const QStringList names = m_expression.namedCaptureGroups();
    QString text;
    const auto flush = [&] {
        if (!text.isEmpty())
            m_pieces.append({Piece::Type::Text, std::exchange(text, QString()), 0});
    };
    const auto addGroup = [&](const QString &reference) {
        bool numeric = false;
        const int number = reference.toInt(&numeric);
        if (numeric ? number < 0 || number > groups : !names.contains(reference)) {
            *error = RuleText::tr("the replacement names the group \"%1\", which the expression does not have")
                         .arg(reference);
            return false;
        }
        flush();
        m_pieces.append(numeric ? Piece{Piece::Type::Group, {}, number} : Piece{Piece::Type::Named, reference, 0});
        return true;
    };
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        const QChar next = i + 1 < replacement.size() ? replacement.at(i + 1) : QChar();
        if (c == u'$' && next == u'$') {
            text += u'$';
            ++i;
        } else if (c == u'$' && next.isDigit()) {
            qsizetype end = i + 1;
            while (end < replacement.size() && replacement.at(end).isDigit())
                ++end;
            if (!addGroup(replacement.mid(i + 1, end - i - 1)))
                return false;
            i = end - 1;
        } else if (c == u'$' && next == u'{') {
            const qsizetype close = replacement.indexOf(u'}', i + 2);
            if (close < 0) {
                *error = RuleText::tr("the replacement has \"${\" without its \"}\"");
                return false;
            }
            if (!addGroup(replacement.mid(i + 2, close - i - 2)))
                return false;
            i = close;
        } else if (c == u'\\' && (next == u'U' || next == u'L' || next == u'E')) {
            flush();
            m_pieces.append({next == u'U'   ? Piece::Type::Upper
                             : next == u'L' ? Piece::Type::Lower
                                            : Piece::Type::EndCase,
                             {}, 0});
            ++i;
        } else if (c == u'\\' && (next == u'\\' || next == u'$')) {
            text += next;
            ++i;
        } else {
            text += c;
        }
    }
    flush();
    return true;
}

void ReplaceRule::expandInto(QString &out, const QRegularExpressionMatch &match) const
{
    CaseShift shift = CaseShift::None;
    for (const Piece &piece : m_pieces) {
        switch (piece.type) {
        case Piece::Type::Text:
            appendShifted(out, piece.text, shift);
            break;
        case Piece::Type::Group:
            appendShifted(out, match.capturedView(piece.group), shift);
            break;
        case Piece::Type::Named:
            appendShifted(out, match.capturedView(piece.text), shift);
            break;
        case Piece::Type::Upper:
            shift = CaseShift::Upper;
            break;
        case Piece::Type::Lower:
            shift = CaseShift::Lower;
            break;
        case Piece::Type::EndCase:
            shift = CaseShift::None;
            break;
        }
    }
}

bool ReplaceRule::transform(QString &part, qsizetype)
{
    switch (m_rule.replaceForm) {
    case RenameRule::ReplaceForm::RemoveFirst:
        part.remove(0, qMin<qsizetype>(qMax(0, m_rule.count), part.size()));
        return true;
    case RenameRule::ReplaceForm::RemoveLast:
        part.chop(qMin<qsizetype>(qMax(0, m_rule.count), part.size()));
        return true;
    case RenameRule::ReplaceForm::RemoveBetween: {
        const Qt::CaseSensitivity sensitivity = m_rule.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
        const qsizetype open = part.indexOf(m_rule.find, 0, sensitivity);
        const qsizetype close =
            open < 0 ? -1 : part.indexOf(m_rule.endMarker, open + m_rule.find.size(), sensitivity);
        if (close >= 0)
            part.remove(open, close + m_rule.endMarker.size() - open);
        return true;
    }
    case RenameRule::ReplaceForm::Pattern:
        break;
    }

    // The matches, left to right, each written out as it is found; the last
    // one is known only when the search ends. An empty match moves on by one
    // character so the search ends.
    using Occurrence = RenameRule::Occurrence;
    const Occurrence occurrence = m_rule.occurrence;
    QString out;
    qsizetype copied = 0;
    bool replaced = false;
    const auto replace = [&](const QRegularExpressionMatch &match) {
        if (!replaced)
            out.reserve(part.size() + m_replacementLength); // one allocation for the usual one match
        replaced = true;
        out += QStringView(part).mid(copied, match.capturedStart() - copied);
        expandInto(out, match);
        copied = match.capturedEnd();
    };
    QRegularExpressionMatch last;
    qsizetype offset = 0;
    int found = 0;
    while (offset <= part.size()) {
        QRegularExpressionMatch match = m_expression.match(part, offset);
        if (!match.isValid())
            return false; // past the match limit: what it would match is unknown
        if (!match.hasMatch())
            break;
        offset = match.capturedEnd() + (match.capturedLength() == 0 ? 1 : 0);
        ++found;
        if (occurrence == Occurrence::Last) {
            last = std::move(match);
        } else if (occurrence != Occurrence::Nth || found == m_rule.nth) {
            replace(match);
            if (occurrence != Occurrence::All)
                break;
        }
        if (m_anchoredAtStart)
            break;
    }
    if (occurrence == Occurrence::Last && found > 0)
        replace(last);
    if (!replaced)
        return true;
    out += QStringView(part).mid(copied);
    part = std::move(out);
    return true;
}
