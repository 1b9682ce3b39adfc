#pragma once

#include "rename/RenameRun.h"
#include "rename/rules/RuleList.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class FolderHandle;

// Every selected file's new name under a rule list, worked out and checked
// before any file moves. A rule that cannot be used (an expression that
// does not compile, a group it does not have, a match past the limit) or,
// when existing files are replaced, two files that would end under one name
// refuse the whole run; a name no file can have is left to the run, which
// refuses it for that file alone.
class RulePlan
{
public:
    struct Note
    {
        qsizetype entry = -1;
        QString message;
    };

    static RulePlan make(const FolderHandle &folder, const QList<RenameEntry> &entries, const RuleList &rules,
                         bool keepExisting, int entryCount);

    bool isRefused() const { return !m_refusal.isEmpty(); }
    // Why nothing may be renamed, naming the rule or the files.
    const QString &refusal() const { return m_refusal; }
    // The new name of each entry, by its index in the list; empty for an
    // entry not selected. Null when refused.
    std::shared_ptr<const QStringList> names() const { return m_names; }
    // What the user should know of single files: a date taken that was not
    // there, so the modified time stood in.
    const QList<Note> &notes() const { return m_notes; }

    // Whether the folder's file system finds a name in any letter case
    // (FAT, exFAT, SMB shares): its names that differ only in case are one.
    static bool ignoresCase(const FolderHandle &folder, const QList<RenameEntry> &entries);

private:
    QString m_refusal;
    std::shared_ptr<const QStringList> m_names;
    QList<Note> m_notes;
};
