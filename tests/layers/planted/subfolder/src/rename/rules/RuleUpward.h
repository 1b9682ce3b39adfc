#pragma once

// Planted for the layer check: a sub-folder belongs to its layer.
#include "selection/FileListing.h"
