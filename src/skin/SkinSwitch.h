#pragma once

// Whether windows are skinned. Turned on once at start-up together with the
// product information and never turned off. It sits in a target of its own
// with no Qt dependency, so that window-independent code can set it without
// pulling in the widget side of the skin.
extern bool skinEnabled;
