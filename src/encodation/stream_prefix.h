// The codewords that open a stream before any data: an ECI designator, or FNC1 in first position
// for GS1 data.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// The largest ECI designators that one and two codewords carry; three carry up to 999999.
// One codeword: designator + 1. Two: (v / 254 + 128, v % 254 + 1) for v = designator - 127.
// Three: (v / 64516 + 192, v / 254 % 254 + 1, v % 254 + 1) for v = designator - 16383.
inline constexpr int32_t kEciOneCodewordMax = 126;
inline constexpr int32_t kEciTwoCodewordMax = 16382;

// Writes the prefix that the symbol's options ask for at the start of `codewords` and returns its
// length (0..4): codeword 241 and one to three codewords of the ECI designator, or FNC1 (232)
// for GS1 data. -8 when the options ask for both (GS1 data has a character set of its own), or
// when GS1 data starts with a group separator.
[[nodiscard]] int32_t WriteStreamPrefix(Symbol& symbol);

}  // namespace ecc200
