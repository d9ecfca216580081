// Turning the mapping matrix into the finished symbol with its finder and timing patterns.
#pragma once

#include "core/symbol.h"

namespace ecc200 {

// Spreads the mapping matrix over the data regions of symbol.sizeIndex, in place, adds every
// region's finder and timing patterns and sets rows and cols. False when the size's region
// count disagrees with its geometry (nothing is changed then).
[[nodiscard]] bool AssembleSymbol(Symbol& symbol);

// The same for a symbol whose data modules were placed straight into their places in the symbol
// (see SymbolOffsets): adds the patterns and sets rows and cols, moving nothing.
[[nodiscard]] bool AssemblePlacedSymbol(Symbol& symbol);

}  // namespace ecc200
