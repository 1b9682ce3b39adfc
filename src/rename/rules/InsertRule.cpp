#include "rename/rules/InsertRule.h"

#include "rename/rules/FileFacts.h"
#include "rename/rules/NumberRule.h"
#include "rename/rules/RuleText.h"

#include <QDateTime>

namespace {

const QString &defaultDateFormat()
{
    static const QString format = QStringLiteral("yyyy-MM-dd");
    return format;
}

QString dateText(qint64 ms, const QString &format)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(format);
}

} // namespace

InsertRule::InsertRule(const RenameRule &rule, FileFacts &facts, int entryCount)
    : RuleStep(rule.scope)
    , m_rule(rule)
    , m_facts(facts)
    , m_entryCount(entryCount)
{
}

bool InsertRule::usesToken(const QString &text, QLatin1String token)
{
    return text.contains(u'{' + QString(token) + u'}') || text.contains(u'{' + QString(token) + u':');
}

std::unique_ptr<InsertRule> InsertRule::make(const RenameRule &rule, const QList<RenameEntry> &entries,
                                             FileFacts &facts, const QString &parentName, int entryCount,
                                             bool numberRuleLater, QString *error)
{
    std::unique_ptr<InsertRule> step(new InsertRule(rule, facts, entryCount));
    const QString &text = rule.text;
    QString literal;
    bool numbered = false;
    const auto addPiece = [&](Piece::Type type, const QString &pieceText = QString()) {
        if (!literal.isEmpty())
            step->m_pieces.append({Piece::Type::Text, std::exchange(literal, QString())});
        step->m_pieces.append({type, pieceText});
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype close = text.at(i) == u'{' ? text.indexOf(u'}', i + 1) : -1;
        if (close < 0) {
            literal += text.at(i);
            continue;
        }
        const QString token = text.mid(i + 1, close - i - 1);
        const qsizetype colon = token.indexOf(u':');
        const QString word = colon < 0 ? token : token.left(colon);
        const QString format = colon < 0 ? defaultDateFormat() : token.mid(colon + 1);
        if (word == QLatin1String("mtime") || word == QLatin1String("taken")) {
            addPiece(word == QLatin1String("mtime") ? Piece::Type::Modified : Piece::Type::Taken, format);
        } else if (colon >= 0) {
            *error = RuleText::tr("the token {%1} takes no format").arg(word);
            return nullptr;
        } else if (word == QLatin1String("name")) {
            addPiece(Piece::Type::Name);
        } else if (word == QLatin1String("ext")) {
            addPiece(Piece::Type::Extension);
        } else if (word == QLatin1String("parent")) {
            addPiece(Piece::Type::Text, parentName);
        } else if (word == QLatin1String("n")) {
            if (numberRuleLater) {
                literal += QLatin1String("{n}");
            } else {
                addPiece(Piece::Type::Number);
                numbered = true;
            }
        } else {
            *error = RuleText::tr("unknown token {%1}: use {name}, {ext}, {n}, {parent}, {mtime} or {taken}")
                         .arg(token);
            return nullptr;
        }
        i = close;
    }
    if (!literal.isEmpty())
        step->m_pieces.append({Piece::Type::Text, literal});
    if (numbered) {
        step->m_rank.assign(size_t(entries.size()), -1);
        qint32 rank = 0;
        for (qsizetype k = 0; k < entries.size(); ++k) {
            if (entries.at(k).selected)
                step->m_rank[size_t(k)] = rank++;
        }
    }
    return step;
}

QString InsertRule::expand(const QString &name, qsizetype entry)
{
    QString out;
    for (const Piece &piece : std::as_const(m_pieces)) {
        switch (piece.type) {
        case Piece::Type::Text:
            out += piece.text;
            break;
        case Piece::Type::Name:
            out += RuleScope::part(name, RenameRule::Scope::Stem);
            break;
        case Piece::Type::Extension:
            out += RuleScope::part(name, RenameRule::Scope::Extension);
            break;
        case Piece::Type::Number:
            out += NumberRule::numberText(qint64(m_rank[size_t(entry)]) + 1, RenameRule::Width::Auto, 0,
                                          m_entryCount);
            break;
        case Piece::Type::Modified:
            out += dateText(m_facts.modifiedMs(entry), piece.text);
            break;
        case Piece::Type::Taken:
            out += dateText(m_facts.takenMs(entry), piece.text);
            break;
        }
    }
    return out;
}

bool InsertRule::apply(QString &name, qsizetype entry)
{
    RuleScope::put(name, m_scope, m_rule.place, m_rule.position, expand(name, entry));
    return true;
}
