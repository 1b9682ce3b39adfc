#pragma once

// Planted for the layer check: every spelling of an include that points
// down or stays in the layer; the check must pass this tree.
#include "core/SettingKeys.h"
#include <core/ProductInfo.h>
#include "../../core/StateFolder.h"
#include "../RenameRun.h"
#include "rename/RenameRequest.h"
#include "RuleLocal.h"
#include <QString>
// #include "app/Form1.h" is only a comment here
