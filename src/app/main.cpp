#include "app/WindowIcon.h"
#include "app/frmSplash.h"
#include "core/ProductInfo.h"
#include "skin/Skin.h"

#include <QApplication>

namespace {
// This product is skinned.
constexpr bool kSkinEnabled = true;
} // namespace

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

    // Read once: every window shows the product as it was at start-up.
    const ProductInfo product = LoadProductInfo();
    // The one skin every window is skinned through; it lives as long as the
    // windows do.
    Skin skin;
    skin.setObjectName(QStringLiteral("skn"));

    frmSplash splash(product, WindowSkin{kSkinEnabled, &skin});
    splash.Form_Load();
    splash.show();
    return app.exec();
}
