#pragma once

// Planted for the layer check: a folder of src/ that is no layer.
#include "core/SettingKeys.h"
