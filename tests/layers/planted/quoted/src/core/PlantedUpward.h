#pragma once

// Fixture for the layer check's own test: the bottom layer reaching up into
// the main window must be caught.
#include "app/Form1.h"
