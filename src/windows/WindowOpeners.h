#pragma once

struct ProductInfo;
struct WindowSkin;
class Form8;
class frmAbout;

// How the main window's menu brings up the auxiliary windows. Each window is
// loaded (its load step runs) when it is not open, and brought forward when it
// is; a closed window is unloaded and loaded anew at its next opening. A
// window that is loaded anew is skinned with the skin given now.

// The help window, or nullptr when there is no help document: then nothing
// is shown and nothing is reported.
Form8 *OpenHelpWindow(const WindowSkin &skin);
frmAbout *OpenAboutWindow(const ProductInfo &product, const WindowSkin &skin);

// The open windows, or nullptr.
Form8 *CurrentHelpWindow();
frmAbout *CurrentAboutWindow();
