#pragma once

#include <QString>
#include <QStringList>

// What the window program was asked for on its command line. Read before
// any window-system connection exists, so --help and --version work on a
// machine without a display.
struct StartArguments
{
    enum class Action { Run, ShowHelp, ShowVersion, BadArguments };

    Action action = Action::Run;
    // The paths given, absolute and clean, in the order given.
    QStringList paths;
    // Help text, version line, or what is wrong (without the program name).
    QString text;
};

// `arguments` starts with the program name; relative paths count from
// `currentFolder`. Only --help (-h), --version (-V) and "--" are options;
// everything else that starts with "-" is refused, so no option of the
// toolkit's is taken by surprise.
StartArguments ParseStartArguments(const QStringList &arguments, const QString &currentFolder);

// Where the window starts: the folder to show and the names in it to select.
struct StartPlace
{
    QString folder;
    QStringList names;
};

// The first path decides the folder: a folder is shown as it is, anything
// else is taken as a file and shows its folder with that file selected
// (a path that does not exist stays the folder to try, so the user is notified
// it cannot be opened). Later paths add files of that same folder to the
// selection, as a file manager passes several selected files; paths in
// other folders are left out and named in `ignored`.
StartPlace ResolveStartPlace(const QStringList &paths, QStringList *ignored = nullptr);

// The exit status of a refused command line.
inline constexpr int kBadArgumentsExitStatus = 2;
