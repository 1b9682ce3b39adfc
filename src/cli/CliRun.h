#pragma once

#include <QByteArray>
#include <QList>

class CliOutput;

// Exit statuses of quillmere-rename.
enum CliExitStatus : int {
    CliAllRenamed = 0,   // every chosen file got its new name or already had it (or would, with --dry-run)
    CliSomeLeft = 1,     // some chosen files were left in place
    CliRefused = 2,      // bad arguments, unreadable folder, a folder another run holds, a run whose journal
                         // cannot be written (without --no-undo), a request that cannot be carried out, or
                         // standard output that could not be written
};
// A run stopped by SIGINT, SIGTERM or SIGHUP answers 128 + the signal's number.

// The whole command: reads the arguments (the bytes the program was given,
// its own name first), lists the folder as the window would, renames (or,
// with --dry-run, simulates) and reports on out and err, each renamed file
// the moment it is done.
int RunCli(const QList<QByteArray> &arguments, CliOutput &out, CliOutput &err);
