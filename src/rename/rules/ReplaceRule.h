#pragma once

#include "rename/rules/RuleStep.h"

#include <QList>
#include <QRegularExpression>

#include <memory>

// Find and replace, by expression or literal text, and the simple forms
// built on it: the first or last characters taken away, or the text between
// two markers. In a replacement, "$1" or "${1}" is a numbered group,
// "${name}" a named one, "$$" a dollar sign; "\U" and "\L" turn what
// follows to upper or lower case until "\E".
class ReplaceRule final : public RuleStep
{
public:
    // The step, or nothing with *error telling why the rule cannot be used
    // (an expression that does not compile, a group that does not exist).
    static std::unique_ptr<ReplaceRule> make(const RenameRule &rule, QString *error);

protected:
    bool transform(QString &part, qsizetype entry) override;

private:
    struct Piece
    {
        enum class Type : quint8 { Text, Group, Named, Upper, Lower, EndCase };
        Type type = Type::Text;
        QString text; // Text, Named
        int group = 0;
    };

    explicit ReplaceRule(const RenameRule &rule);
    bool parseReplacement(const QString &replacement, QString *error);
    void expandInto(QString &out, const QRegularExpressionMatch &match) const;

    RenameRule m_rule;
    QRegularExpression m_expression;
    QList<Piece> m_pieces;
    qsizetype m_replacementLength = 0; // of the literal pieces: room to reserve
    bool m_anchoredAtStart = false;    // matches at the part's start or nowhere
};
