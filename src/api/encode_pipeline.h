// The encode that every output call runs: data to finished module matrix.
#pragma once

#include "core/symbol.h"

namespace ecc200 {

// Encodes symbol.data with the requested scheme, size and marks into symbol.matrix, rows and
// cols. Returns false with the reason in symbol.status.
[[nodiscard]] bool EncodeSymbol(Symbol& symbol);

}  // namespace ecc200
