// From the module matrix of a whole symbol to its mapping matrix: the finder and timing patterns
// checked and stripped, the data regions joined.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "geometry/size_table.h"

namespace ecc200 {

// The lower-left MappingRows x MappingCols cells of a matrix (row 0 at the bottom), the layout
// the product mark walks.
using MappingMatrix = uint8_t[kMatrixSide][kMatrixSide];

// Copies the data regions of `modules` (size.symbolRows x size.symbolCols bytes, top row first,
// nonzero dark) into `mapping`. False when the finder and timing patterns are too far from what
// they must be for the matrix to be this symbol in this orientation: a quarter or more of their
// modules wrong. Fewer wrong pattern modules are print damage and are ignored.
[[nodiscard]] bool ExtractMappingMatrix(const uint8_t* modules, const SymbolSize& size,
                                        MappingMatrix& mapping);

// The same copy without looking at the patterns.
void CopyMappingMatrix(const uint8_t* modules, const SymbolSize& size, MappingMatrix& mapping);

}  // namespace ecc200
