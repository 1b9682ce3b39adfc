#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

struct SkinDescription;

// The Qt form of a skin: a palette for the window and its controls, and a
// style sheet that draws the window background, frames, buttons in their
// states, check boxes, radio buttons, labels, text, combo and list controls,
// scroll bars, menus and the progress bar from the skin's elements. Element
// values that are missing fall back to colours derived from the skin's
// top-level colours and hue.
QPalette SkinPalette(const SkinDescription &skin);
QString SkinWindowStyleSheet(const SkinDescription &skin);

// Rules for one control whose own colours differ from the skin's, selected
// by its control kind; empty for kinds that carry no colour.
QString SkinControlStyleSheet(const QString &controlKind, const QColor &back, const QColor &fore);

// A colour as style sheet text.
QString CssColor(const QColor &color);
