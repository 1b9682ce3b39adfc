#pragma once

// Planted for the layer check: blanks around the hash and the word.
  #  include   "windows/Form8.h"
