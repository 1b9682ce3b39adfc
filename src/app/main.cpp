#include "app/WindowIcon.h"
#include "app/frmSplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setDesktopFileName(QStringLiteral("quillmere"));
    // Windows without an icon of their own (splash, help, About) show the
    // program's; the main window sets its own at load.
    app.setWindowIcon(LoadIconGroup(QStringLiteral("AAA")));
    // The main window ends the program itself; hiding the splash window or
    // closing the help window must not.
    app.setQuitOnLastWindowClosed(false);

    frmSplash splash;
    splash.Form_Load();
    splash.show();
    return app.exec();
}
