// Padding, Reed-Solomon error correction and block interleaving of the codeword stream.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// Pads symbol.codewords (codewordCount data codewords) to the capacity of symbol.sizeIndex and
// appends the interleaved error-correction codewords. Returns the total number of codewords, or
// -1 when the data codewords exceed the capacity.
[[nodiscard]] int32_t AddErrorCorrection(Symbol& symbol);

// The pad codeword at 1-based stream position `position` after the first pad (129 randomised).
uint8_t PadCodewordAt(int32_t position);

}  // namespace ecc200
