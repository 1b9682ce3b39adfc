#pragma once

#include <QPointer>

class Skin;

// What a window is given to skin itself: the program's skin switch and the
// one skin object every window shares. Default-constructed it is switched
// off, and windows keep their designed look.
struct WindowSkin
{
    bool enabled = false;
    QPointer<Skin> skin;
};
