// Turning the mapping matrix into the finished symbol with its finder and timing patterns.
#pragma once

#include "core/symbol.h"
#include "geometry/size_table.h"

namespace ecc200 {

// What the finder and timing patterns put at (row from the bottom, column): 1 dark, 0 light, or
// -1 for a module of a data region. Each region band has a solid finder row at its bottom and an
// alternating timing row at its top, dark at column 0; each region column a solid finder column
// at its left and an alternating timing column at its right, dark at row 0. Where a row and a
// column pattern cross, the column's module holds.
constexpr int32_t PatternModule(const SymbolSize& size, int32_t row, int32_t col) {
    const int32_t bandHeight = size.regionRows + 2;
    const int32_t bandWidth = size.regionCols + 2;
    if (col % bandWidth == 0) return 1;
    if (col % bandWidth == bandWidth - 1) return (row & 1) == 0 ? 1 : 0;
    if (row % bandHeight == 0) return 1;
    if (row % bandHeight == bandHeight - 1) return (col & 1) == 0 ? 1 : 0;
    return -1;
}

// Spreads the mapping matrix over the data regions of symbol.sizeIndex, in place, adds every
// region's finder and timing patterns and sets rows and cols. False when the size's region
// count disagrees with its geometry (nothing is changed then).
[[nodiscard]] bool AssembleSymbol(Symbol& symbol);

// The same for a symbol whose data modules were placed straight into their places in the symbol
// (see SymbolOffsets): adds the patterns and sets rows and cols, moving nothing.
[[nodiscard]] bool AssemblePlacedSymbol(Symbol& symbol);

}  // namespace ecc200
