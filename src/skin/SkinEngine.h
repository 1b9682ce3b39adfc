#pragma once

// The program's side of the skin: the steps that skin a window with the skin
// and switch it was given.

#include "skin/WindowSkin.h"

#include <QList>
#include <QPointer>
#include <QRgb>

#include <optional>

class QLabel;
class QWidget;
class Skin;
class SkinLabelArray;

// How MakeLabelTwins picks the template array for a plain label.
enum class TwinArrayChoice {
    // The first array whose element 0 shares the label's container; a label
    // in no array's container gets no twin.
    ByContainer,
    // Always the first array.
    AlwaysFirst,
};

// The one call a window makes to wear the skin: while the switch is on, its
// plain labels get twins from `twinArrays` (see MakeLabelTwins), then
// ApplySkinToWindow. With the switch off nothing happens.
void SkinWindow(QWidget *window, const WindowSkin &skin, const QList<SkinLabelArray *> &twinArrays = {},
                TwinArrayChoice choice = TwinArrayChoice::ByContainer);

// Colours the window's controls, clears its outline on NT 6 and later while
// the switch is on, and hands it to the skin engine. A null or unloaded skin
// leaves the window as designed. Never fails and reports nothing.
void ApplySkinToWindow(QWidget *window, const WindowSkin &skin);

// Gives the window's buttons, text and list controls and picture boxes the
// skin's colours, chosen by each control's "controlKind" property. The fourth
// colour is accepted and not used.
void ColorControls(QWidget *window, QRgb back, QRgb text, QRgb pictureBack, QRgb fourth);

// True on Windows (NT family, major version 6 or later). Elsewhere the answer
// is false: the platform is not of the NT family. Tests may inject an answer.
bool IsNt6OrLater();
void SetNt6OrLaterForTesting(std::optional<bool> answer);

// Drops any shaped outline the window has: its whole rectangle shows.
void SetRectangularRegion(QWidget *window);

// On NT 6 and later finishes the skin support (creating it if need be).
void FinishSkinSupportOnNt6();

// Gives every plain label of the window (controlKind "Label", in collection
// order) a skinned twin: a new element of the chosen array, index upper bound
// + 1, copying Top, Left, Height, Width, Font, Caption and Visible in that
// order. Each twin then follows its label (see SkinLabel). No twins are made
// while `skin` is null or not loaded.
void MakeLabelTwins(QWidget *window, const Skin *skin, const QList<SkinLabelArray *> &arrays,
                    TwinArrayChoice choice = TwinArrayChoice::ByContainer);

// Tells the twin of `label`, if it has one, that the label's caption changed.
void LabelCaptionChanged(QLabel *label);
