#pragma once

#include <QStringList>

class QTextStream;

// Exit statuses of quillmere-rename.
enum CliExitStatus : int {
    CliAllRenamed = 0,   // every chosen file got its new name (or would, with --dry-run)
    CliSomeLeft = 1,     // some chosen files were left in place
    CliRefused = 2,      // bad arguments, unreadable folder, or a request that cannot be carried out
};

// The whole command: reads the arguments, lists the folder as the window
// would, renames (or, with --dry-run, simulates) and reports. `out` receives
// one "OLD -> NEW" line per renamed file, `err` one "OLD: reason" line per
// file left in place, and every refusal.
int RunCli(const QStringList &arguments, QTextStream &out, QTextStream &err);
