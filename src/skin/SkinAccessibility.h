#pragma once

// Keeps the skin's label twins out of what screen readers are told: each
// twin only repaints a plain label that already speaks for itself, and the
// templates ("Windowed Label") are never seen at all. Containers holding
// twins report every other child as usual. Installed once; harmless to call
// again.
void KeepSkinTwinsOutOfAccessibility();

class QObject;
class QWidget;

// To be called when `container` receives its first twin: what screen readers
// were told of it before is dropped, so it is described afresh without twins.
void ForgetAccessibleDescription(QWidget *container);

// Whether `object` is an element of a skinned label array.
bool IsSkinTwin(const QObject *object);

// Keeps `widget` out of what screen readers are told, like a twin: for a mark
// that only decorates (the dot between the name and the extension box).
void KeepOutOfAccessibility(QWidget *widget);

// A twin, or a widget kept out by KeepOutOfAccessibility.
bool IsKeptOutOfAccessibility(const QObject *object);
