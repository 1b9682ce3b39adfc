#pragma once

// Planted for the layer check: skin and rtf sit side by side; neither
// includes the other.
#include "rtf/RtfReader.h"
