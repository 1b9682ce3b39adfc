// Planted for the layer check: the top layer may include every layer below.
#include "windows/Form8.h"
#include <selection/FileListing.h>
#include "../rtf/RtfReader.h"
