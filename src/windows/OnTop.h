#pragma once

class QWidget;

// Moves a window into (true) or out of (false) the band of windows kept above
// all others. The window keeps its position, size and visibility: a shown
// window is shown again where it was, since changing a window's flags hides it.
void SetAlwaysOnTop(QWidget *window, bool onTop);
