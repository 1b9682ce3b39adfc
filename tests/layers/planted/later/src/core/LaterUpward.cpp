// Planted for the layer check: the upward include after others, behind
// lines whose "[" or ";" would join or split CMake list items.
#include "core/LaterUpward.h" // keeps [ open
#include <array>
#include <QString>;

int planted[2];

#include "skin/Skin.h"
