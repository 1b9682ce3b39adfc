#pragma once

#include <QIcon>
#include <QList>
#include <QString>

class QWidget;

// The program's icon groups, kept in its resources under their names. A group
// offers its picture at every size in IconGroupSizes(); an unknown name gives
// a null icon.
QIcon LoadIconGroup(const QString &name);
QList<int> IconGroupSizes();

// Gives a window the named icon. With withOwner set, the window's top-level
// owner (the last window up its chain of parents) gets it first. A name that
// does not load leaves the windows without an icon of their own.
void ApplyWindowIcon(QWidget *window, const QString &iconName, bool withOwner);
