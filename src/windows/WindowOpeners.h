#pragma once

class Form8;
class frmAbout;

// How the main window's menu brings up the auxiliary windows. Each window is
// loaded (its load step runs) when it is not open, and brought forward when it
// is; a closed window is unloaded and loaded anew at its next opening.

// The help window, or nullptr when there is no help document: then nothing
// is shown and nothing is reported.
Form8 *OpenHelpWindow();
frmAbout *OpenAboutWindow();

// The open windows, or nullptr.
Form8 *CurrentHelpWindow();
frmAbout *CurrentAboutWindow();
