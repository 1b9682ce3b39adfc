#include "cli/CliOutput.h"
#include "cli/CliRun.h"
#include "core/Translations.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    // The arguments are read here, as the bytes they are; Qt is shown none
    // of them, so that no option of its own is taken from the command line.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    int qtArgc = 1;
    char programName[] = "quillmere-rename";
    char *qtArgv[] = {programName, nullptr};
    QCoreApplication app(qtArgc, qtArgv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmere-rename"));
    InstallTranslations(app);

#ifdef SIGPIPE
    // A reader that went away is a failed write, reported by the exit
    // status, not a silent death halfway through the report.
    std::signal(SIGPIPE, SIG_IGN);
#endif

    CliOutput out(1);
    CliOutput err(2);
    return RunCli(arguments, out, err);
}
