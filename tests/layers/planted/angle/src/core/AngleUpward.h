#pragma once

// Planted for the layer check: the upward include in angle brackets.
#include <QString>
#include <app/Form1.h>
