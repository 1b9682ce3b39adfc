#pragma once

// Whether windows are skinned. Turned on once at start-up together with the
// product information and never turned off; lives here rather than with the
// skin engine so that window-independent code can set it.
extern bool skinEnabled;
