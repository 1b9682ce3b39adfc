#pragma once

#include "rename/RenameRequest.h"
#include "rename/RenameRun.h"
#include "rename/rules/RuleList.h"

#include <QList>
#include <QString>
#include <QStringList>

// What `quillmere-rename` was asked to do, read from its arguments.
struct CliCommand
{
    QString folder;
    QStringList names;    // files to rename, by their listed name
    bool selectAll = false;
    bool dryRun = false;
    bool nullSeparated = false; // --null: "OLD\0NEW\0" records instead of lines
    // --undo: take back the newest recorded run of the folder instead.
    bool undo = false;
    // The list pattern: every file, or "*." plus the --filter extension.
    QString pattern = QStringLiteral("*.*");
    // entryCount is filled in once the folder has been listed.
    RenameRequest request;
    // Renaming rules, in place of the request's type, text and number.
    RuleList rules;
    // --save-preset: the rules are saved under this name first; with no
    // folder given (saveOnly) nothing else is done.
    QString savePreset;
    bool saveOnly = false;
};

struct CliParseResult
{
    enum class Action { Run, ShowHelp, ShowVersion, ShowList, BadArguments };

    Action action = Action::BadArguments;
    CliCommand command;
    QString text; // help text, version line, list, or what is wrong with the arguments
    // A refusal about how the command is used, which the help text explains.
    bool usage = false;
};

// `arguments` starts with the program name. The arguments at the indexes in
// `undecodable` hold bytes that are not text: as the folder or a file's
// name they are taken, as an option's value (a text to put in names)
// refused.
CliParseResult ParseCliArguments(const QStringList &arguments, const QList<qsizetype> &undecodable = {});
// The same from the bytes the program was given.
CliParseResult ParseRawCliArguments(const QList<QByteArray> &arguments);

QString CliHelpText();

// The list entries with the requested ones selected: every entry with
// `selectAll`, otherwise those named in `names` (compared exactly). Names
// that are not in the list are appended to `missing`.
QList<RenameEntry> SelectCliEntries(const QStringList &listed, const QStringList &names, bool selectAll,
                                    QStringList *missing);
