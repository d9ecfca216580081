// Automatic scheme selection: the data cut into runs, each in the scheme that suits it best.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// Encodes symbol.data with automatic switching between schemes into symbol.codewords from
// index 0, ending in ASCII with the first pad codeword where there is room. Returns the number
// of data codewords (at least 1).
[[nodiscard]] int32_t EncodeAutoScheme(Symbol& symbol);

// The same into `out`, which holds `capacity` codewords: codewords past it are counted but not
// stored, so the result is what an unbounded array would give. -8 for an invalid size.
[[nodiscard]] int32_t EncodeAutoScheme(Symbol& symbol, uint8_t* out, int32_t capacity);

}  // namespace ecc200
