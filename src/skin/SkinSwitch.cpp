#include "skin/SkinSwitch.h"

bool skinEnabled = false;
