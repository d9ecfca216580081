// Where every codeword bit goes in the mapping matrix, worked out once per size and cached.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "geometry/placement_entry.h"

namespace ecc200 {

// Builds and caches the placement map of sizeIndex in symbol.placementMaps (if not cached yet).
// Returns the number of entries (8 per codeword), or 0 for an invalid size; the slot stays null
// when memory cannot be had.
//
// The same allocation holds, behind the entries, each entry's module as an offset into
// Symbol::matrix (which counts rows from the bottom), in the mapping matrix and in the assembled
// symbol; see MatrixOffsets and SymbolOffsets.
[[nodiscard]] int32_t BuildPlacementMap(Symbol& symbol, int32_t sizeIndex);

// The matrix offsets stored behind the entries of a map that BuildPlacementMap built for
// sizeIndex, one per entry. An entry outside the mapping matrix has offset 0.
const uint16_t* MatrixOffsets(const PlacementEntry* map, int32_t sizeIndex);

// The same for the assembled symbol: where AssembleSymbol would move each entry's module.
const uint16_t* SymbolOffsets(const PlacementEntry* map, int32_t sizeIndex);

}  // namespace ecc200
