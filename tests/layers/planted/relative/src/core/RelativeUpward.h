#pragma once

// Planted for the layer check: the upward include written relative to the file.
#include "../app/Form1.h"
