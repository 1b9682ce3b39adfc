#pragma once

#include "rename/RunTypes.h"
#include "rename/rules/RuleStep.h"

#include <QList>

#include <memory>
#include <vector>

class FileFacts;

// A text put into the name at its start, its end or a position, or a
// template taking the place of the part of the name the rule sees. Both
// may hold tokens: {name} (the name so far without its extension), {ext}
// (its extension), {n} (the file's place among the selected ones, from 1),
// {parent} (the folder's name), {mtime:FORMAT} and {taken:FORMAT} (the
// modified time and the date the photo was taken, in Qt's date format,
// yyyy-MM-dd without one).
class InsertRule final : public RuleStep
{
public:
    // numberRuleLater: a number rule further down puts its number where
    // "{n}" stands, so "{n}" is left for it.
    static std::unique_ptr<InsertRule> make(const RenameRule &rule, const QList<RenameEntry> &entries,
                                            FileFacts &facts, const QString &parentName, int entryCount,
                                            bool numberRuleLater, QString *error);

    bool apply(QString &name, qsizetype entry) override;

    // Whether the text of an insert rule uses {taken} or {mtime}.
    static bool usesToken(const QString &text, QLatin1String token);

protected:
    bool transform(QString &, qsizetype) override { return true; }

private:
    struct Piece
    {
        enum class Type : quint8 { Text, Name, Extension, Number, Modified, Taken };
        Type type = Type::Text;
        QString text; // Text; the date format of Modified and Taken
    };

    InsertRule(const RenameRule &rule, FileFacts &facts, int entryCount);
    QString expand(const QString &name, qsizetype entry);

    RenameRule m_rule;
    FileFacts &m_facts;
    int m_entryCount = 0;
    QList<Piece> m_pieces;
    std::vector<qint32> m_rank; // by entry, when {n} is filled in here
};
