// Whether a codeword stream fills a symbol's data capacity exactly.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// With a fixed size: that size when its capacity is exactly n, else kNoSize. With automatic
// size: the first size of the automatic order (square sizes, or all shapes with
// ECC200_SHAPE_ANY) whose capacity is exactly n, which it then fixes as the symbol's sizeIndex
// for the rest of the encode; kNoSize (and sizeIndex left alone) when none is.
[[nodiscard]] int32_t FixExactFitSize(Symbol& symbol, int32_t n);

// The data capacity of the size that a stream of n codewords would get: the fixed size's, or with
// automatic size that of the first size of the automatic order holding n; -1 when there is none.
// Never changes sizeIndex.
[[nodiscard]] int32_t CapacityForStream(const Symbol& symbol, int32_t n);

}  // namespace ecc200
