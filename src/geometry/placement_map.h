// Where every codeword bit goes in the mapping matrix, worked out once per size and cached.
#pragma once

#include <cstdint>

#include "api/symbol.h"

namespace ecc200 {

// Builds and caches the placement map of sizeIndex in symbol.placementMaps (if not cached yet).
// Returns the number of entries (8 per codeword), or 0 for an invalid size; the slot stays null
// when memory cannot be had.
int32_t BuildPlacementMap(Symbol& symbol, int32_t sizeIndex);

}  // namespace ecc200
