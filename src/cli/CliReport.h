#pragma once

#include <QCoreApplication>
#include <QString>

class CliOutput;
struct RenameReport;

// Everything quillmere-rename prints is formatted here.

// The translation context of quillmere-rename's own texts: CliText::tr().
// What goes to standard output as the report ("OLD -> NEW", "NAME:
// unchanged") is for scripts to read and stays the same in every language.
struct CliText
{
    Q_DECLARE_TR_FUNCTIONS(CliText)
};

// "quillmere-rename: text" on err; a usage error adds where help is found.
void WriteCliMessage(CliOutput &err, const QString &text, bool usage = false);
// "quillmere-rename: NAME: reason" on err, the name quoted for a terminal.
void WriteCliFileMessage(CliOutput &err, const QString &name, const QString &reason);

// One renamed file: an "OLD -> NEW" line, or with nullSeparated the record
// "OLD\0NEW\0".
void WriteRenamedFile(CliOutput &out, const QString &oldName, const QString &newName, bool nullSeparated);

// What a run did (or with dryRun, would do): the renamed files on out; with
// dryRun also the files that already have their new name ("NAME: unchanged",
// or the record "NAME\0NAME\0"); every file left in place on err.
void WriteRenameReport(const RenameReport &report, bool dryRun, bool nullSeparated, CliOutput &out, CliOutput &err);
// The same without the renamed files, for a run that wrote each of them
// with WriteRenamedFile() as it was done.
void WriteRenameReportTail(const RenameReport &report, bool dryRun, bool nullSeparated, CliOutput &out,
                           CliOutput &err);
