// Planted for the layer check: the upward include in a source file.
#include "core/SourceUpward.h"

#include "windows/Form8.h"

void planted() {}
