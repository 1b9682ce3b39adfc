#include "app/StartArguments.h"

#include "core/ProductInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString helpText()
{
    return QCoreApplication::translate(
        "StartArguments",
        "Usage: quillmere [FOLDER | FILE...]\n"
        "Open the bulk file renamer's window. With FOLDER, the file list shows that\n"
        "folder; with FILE, it shows the file's folder with the file selected (further\n"
        "files of the same folder are selected as well). Without an argument the\n"
        "window opens on the folder used last.\n"
        "\n"
        "  -h, --help     display this help and exit\n"
        "  -V, --version  output version information and exit\n"
        "\n"
        "Exit status:\n"
        " 0  when the window was closed,\n"
        " 2  when the command line could not be used.\n");
}

StartArguments withText(StartArguments::Action action, const QString &text)
{
    StartArguments result;
    result.action = action;
    result.text = text;
    return result;
}

StartArguments versionResult()
{
    const VersionRecord record = ReadVersionRecord();
    return withText(StartArguments::Action::ShowVersion,
                    QStringLiteral("quillmere (%1) %2\n").arg(record.productName, VersionText(record)));
}

} // namespace

StartArguments ParseStartArguments(const QStringList &arguments, const QString &currentFolder)
{
    StartArguments result;
    const QDir base(currentFolder);
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        // A lone "-" is an ordinary name, as in every GNU tool.
        if (!optionsEnded && argument.startsWith(u'-') && argument != QLatin1String("-")) {
            if (argument == QLatin1String("--")) {
                optionsEnded = true;
            } else if (argument.startsWith(QLatin1String("--"))) {
                if (argument == QLatin1String("--help"))
                    return withText(StartArguments::Action::ShowHelp, helpText());
                if (argument == QLatin1String("--version"))
                    return versionResult();
                return withText(StartArguments::Action::BadArguments,
                                QCoreApplication::translate("StartArguments", "unrecognized option '%1'")
                                    .arg(argument));
            } else {
                // Short options may be bundled ("-hV"); the first one decides.
                const QChar letter = argument.at(1);
                if (letter == u'h')
                    return withText(StartArguments::Action::ShowHelp, helpText());
                if (letter == u'V')
                    return versionResult();
                return withText(StartArguments::Action::BadArguments,
                                QCoreApplication::translate("StartArguments", "invalid option -- '%1'")
                                    .arg(letter));
            }
            continue;
        }
        if (argument.isEmpty())
            return withText(StartArguments::Action::BadArguments,
                            QCoreApplication::translate("StartArguments", "an empty name is no folder"));
        result.paths.append(QDir::cleanPath(base.absoluteFilePath(argument)));
    }
    return result;
}

StartPlace ResolveStartPlace(const QStringList &paths, QStringList *ignored)
{
    StartPlace place;
    if (paths.isEmpty())
        return place;

    const QFileInfo first(paths.constFirst());
    if (first.isDir() || !first.exists()) {
        place.folder = first.filePath();
    } else {
        place.folder = first.absolutePath();
        place.names.append(first.fileName());
    }

    for (qsizetype i = 1; i < paths.size(); ++i) {
        const QFileInfo info(paths.at(i));
        if (!info.isDir() && info.exists() && info.absolutePath() == place.folder) {
            if (!place.names.contains(info.fileName()))
                place.names.append(info.fileName());
        } else if (ignored) {
            ignored->append(paths.at(i));
        }
    }
    return place;
}
