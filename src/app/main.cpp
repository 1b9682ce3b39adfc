#include "app/frmSplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setDesktopFileName(QStringLiteral("quillmere"));
    // The main window ends the program itself; hiding the splash window or
    // closing the help window must not.
    app.setQuitOnLastWindowClosed(false);

    frmSplash splash;
    splash.Form_Load();
    splash.show();
    return app.exec();
}
