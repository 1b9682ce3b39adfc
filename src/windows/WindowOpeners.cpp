#include "windows/WindowOpeners.h"

#include "windows/Form8.h"
#include "windows/WindowPlacement.h"
#include "windows/frmAbout.h"

#include <QPointer>

namespace {
QPointer<Form8> helpWindow;
QPointer<frmAbout> aboutWindow;
} // namespace

Form8 *OpenHelpWindow(const WindowSkin &skin)
{
    if (helpWindow) {
        BringForward(helpWindow);
        return helpWindow;
    }
    auto *window = new Form8(skin);
    if (!window->Form_Load()) {
        delete window;
        return nullptr;
    }
    CentreOnScreen(window);
    window->show();
    helpWindow = window;
    return window;
}

frmAbout *OpenAboutWindow(const ProductInfo &product, const WindowSkin &skin)
{
    if (aboutWindow) {
        BringForward(aboutWindow);
        return aboutWindow;
    }
    auto *window = new frmAbout(product, skin);
    window->Form_Load();
    CentreOnScreen(window);
    window->show();
    aboutWindow = window;
    return window;
}

Form8 *CurrentHelpWindow()
{
    return helpWindow;
}

frmAbout *CurrentAboutWindow()
{
    return aboutWindow;
}
