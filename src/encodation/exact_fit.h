// Whether a codeword stream fills a symbol's data capacity exactly.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// With a fixed size: that size when its capacity is exactly n, else -1. With automatic size:
// the first square size whose capacity is exactly n, which then becomes the symbol's sizeIndex
// for the rest of the encode; -1 (and sizeIndex left alone) when none is.
int32_t FindExactFitSize(Symbol& symbol, int32_t n);

// The data capacity of the size that a stream of n codewords would get: the fixed size's, or with
// automatic size the smallest square size's that holds n; -1 when there is none. Never changes
// sizeIndex.
int32_t CapacityForStream(const Symbol& symbol, int32_t n);

}  // namespace ecc200
