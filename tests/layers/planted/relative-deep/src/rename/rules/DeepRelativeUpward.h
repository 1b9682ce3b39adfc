#pragma once

// Planted for the layer check: a sub-folder of a layer reaching two folders
// up and into a higher layer.
#include "../../selection/FileListing.h"
