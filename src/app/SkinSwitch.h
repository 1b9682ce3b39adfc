#pragma once

// The skin switch lives with the skin, in a target without Qt dependency.
#include "skin/SkinSwitch.h"
