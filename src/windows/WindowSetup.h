#pragma once

#include "core/ControlKinds.h"

#include <QIcon>
#include <QRect>
#include <QWidget>

// The frame of the program's auxiliary windows (help, About): a title bar
// with only a close box, and no resizing, over the given window type.
inline Qt::WindowFlags AuxiliaryWindowFlags(Qt::WindowType type)
{
    return type | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint;
}

// What every auxiliary window sets up first: its name, its own icon, its
// fixed size, and that closing it unloads it.
void SetUpAuxiliaryWindow(QWidget *window, const char *name, const QIcon &icon, const QSize &size);

// A control as the windows make them: named, of a kind the skin knows,
// placed at `geometry` in its parent.
template <typename Control>
Control *MakeControl(QWidget *parent, const char *name, QLatin1StringView kind, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    ControlKinds::setKind(control, kind);
    control->setGeometry(geometry);
    return control;
}

// Widens `control` to the width its text needs, when a translation (or a
// wider font) needs more than the design gave it; never makes it narrower.
inline void WidenToText(QWidget *control)
{
    control->resize(qMax(control->width(), control->sizeHint().width()), control->height());
}
