#include "cli/CliReport.h"

#include "cli/CliOutput.h"
#include "rename/RenameRun.h"

namespace {

constexpr char kProgram[] = "quillmere-rename: ";

} // namespace

void WriteCliMessage(CliOutput &err, const QString &text, bool usage)
{
    err.write(kProgram);
    err.writeText(text);
    err.write("\n");
    if (usage) {
        err.writeText(CliText::tr("Try 'quillmere-rename --help' for more information."));
        err.write("\n");
    }
}

void WriteCliFileMessage(CliOutput &err, const QString &name, const QString &reason)
{
    err.write(kProgram);
    err.writeName(name);
    err.write(": ");
    err.writeText(reason);
    err.write("\n");
}

void WriteRenamedFile(CliOutput &out, const QString &oldName, const QString &newName, bool nullSeparated)
{
    out.writeNamePair(oldName, nullSeparated ? QByteArrayView("\0", 1) : QByteArrayView(" -> "), newName,
                      nullSeparated ? QByteArrayView("\0", 1) : QByteArrayView("\n"));
}

void WriteRenameReport(const RenameReport &report, bool dryRun, bool nullSeparated, CliOutput &out, CliOutput &err)
{
    for (const RenamedFile &file : report.renamed)
        WriteRenamedFile(out, file.oldName, file.newName, nullSeparated);
    WriteRenameReportTail(report, dryRun, nullSeparated, out, err);
}

void WriteRenameReportTail(const RenameReport &report, bool dryRun, bool nullSeparated, CliOutput &out,
                           CliOutput &err)
{
    if (dryRun) {
        for (const QString &name : report.unchanged) {
            if (nullSeparated) {
                WriteRenamedFile(out, name, name, true);
            } else {
                out.writeName(name);
                out.write(": unchanged\n");
            }
        }
    }
    out.flush();
    // A stop leaves every file after it untouched: one line says how many,
    // not one for each, which would bury the files that did fail.
    qsizetype untouched = 0;
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        if (file.reason == LeftInPlaceReason::Stopped)
            ++untouched;
        else
            WriteCliFileMessage(err, file.name, file.message);
    }
    if (untouched > 0)
        WriteCliMessage(err, CliText::tr("the run was stopped; files left untouched: %1").arg(untouched));
    err.flush();
}
