#include "app/Form1.h"
#include "app/StartArguments.h"
#include "app/WindowIcon.h"
#include "app/frmSplash.h"
#include "core/ProductInfo.h"
#include "core/Translations.h"
#include "core/VersionRecordData.h"
#include "skin/Skin.h"
#include "windows/AccessibleWidgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Help and version go to standard output, complaints to standard error; a
// failed write is a failure like any other.
int printStartText(const StartArguments &start)
{
    if (start.action == StartArguments::Action::BadArguments) {
        const QByteArray text = QCoreApplication::translate(
                                    "StartArguments", "quillmere: %1\nTry 'quillmere --help' for more information.\n")
                                    .arg(start.text)
                                    .toLocal8Bit();
        std::fputs(text.constData(), stderr);
        return kBadArgumentsExitStatus;
    }
    const QByteArray text = start.text.toLocal8Bit();
    if (std::fputs(text.constData(), stdout) < 0 || std::fflush(stdout) != 0) {
        // As GNU tools say it: a text that never arrived is no success.
        const int error = errno;
        std::fprintf(stderr, "quillmere: write error: %s\n", std::strerror(error));
        return kBadArgumentsExitStatus;
    }
    return 0;
}

} // namespace

namespace {
// This product is skinned.
constexpr bool kSkinEnabled = true;
} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before the window system is reached, so
    // --help and --version answer on a machine without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    const StartArguments start = ParseStartArguments(arguments, QDir::currentPath());
    if (start.action != StartArguments::Action::Run) {
        // Said in the user's language: the translations need an application
        // object, but not a window system.
        QCoreApplication texts(argc, argv);
        InstallTranslations(texts);
        return printStartText(ParseStartArguments(arguments, QDir::currentPath()));
    }

    // The toolkit sees the program name only: a folder named like one of its
    // options must stay a folder.
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    app.setDesktopFileName(QStringLiteral(QUILLMERE_DESKTOP_ID));
    // Before any window is made: Qt describes a widget once, when first asked.
    DescribeWidgetsForAccessibility();
    InstallTranslations(app);
    // Windows without an icon of their own (splash, help, About) show the
    // program's; the main window sets its own at load.
    app.setWindowIcon(LoadIconGroup(QStringLiteral("AAA")));
    // The main window ends the program itself; hiding the splash window or
    // closing the help window must not.
    app.setQuitOnLastWindowClosed(false);

    // Read once: every window shows the product as it was at start-up.
    const ProductInfo product = LoadProductInfo();
    // The one skin every window is skinned through; it lives as long as the
    // windows do.
    Skin skin;
    skin.setObjectName(QStringLiteral("skn"));

    frmSplash splash(product, WindowSkin{kSkinEnabled, &skin});
    if (!start.paths.isEmpty()) {
        splash.setMainWindowLoader([&product, &skin, paths = start.paths] {
            // The main window ends the program when it closes; it is never
            // deleted before that.
            auto *form = new Form1(product, WindowSkin{kSkinEnabled, &skin});
            form->Form_Load();
            form->show();
            // After the switch from the splash window has hidden it, so that a
            // message about the folder comes up over the main window.
            QTimer::singleShot(0, form, [form, paths] { form->openFromCommandLine(paths); });
        });
    }
    splash.Form_Load();
    splash.show();
    return app.exec();
}
