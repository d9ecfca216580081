// Encoding the whole data in the one scheme that the host requested.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// Encodes symbol.data in scheme symbol.scheme (1..6) into symbol.codewords from index 0, with the
// scheme's latch, its return to ASCII and the first pad codeword. Returns the number of data
// codewords, or -4, -6 or -17 for data the scheme cannot carry.
[[nodiscard]] int32_t EncodeFixedScheme(Symbol& symbol);

// The same into `out`, which holds `capacity` codewords: codewords past it are counted but not
// stored, so the result is what an unbounded array would give. -8 for a scheme outside 1..6 or an
// invalid size.
[[nodiscard]] int32_t EncodeFixedScheme(Symbol& symbol, uint8_t* out, int32_t capacity);

}  // namespace ecc200
