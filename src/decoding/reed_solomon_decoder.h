// Reed-Solomon decoding of one block: errors found from the syndromes and corrected in place.
#pragma once

#include <cstdint>

#include "ecc/gf256.h"

namespace ecc200 {

inline constexpr int32_t kMaxCorrectableErrors = kMaxEccCodewords / 2;

// The corrections made in one block: the block index of each corrected codeword (0 is the
// block's first data codeword) and the value it was XORed with.
struct BlockCorrection {
    int32_t count = 0;
    int16_t positions[kMaxCorrectableErrors] = {};
    uint8_t values[kMaxCorrectableErrors] = {};
};

// Corrects up to eccCount / 2 wrong codewords of a block of `length` codewords whose last
// eccCount are its error correction (block[0] the highest power, as the encoder divides). True
// with the corrections recorded when the block is, or has been made, a codeword of the code;
// false, with the block unchanged, when it holds more errors than the decoder can locate
// consistently (the locator's roots disagree with its degree, a root lies outside the block, or
// the corrected block still fails its syndromes).
[[nodiscard]] bool CorrectBlock(uint8_t* block, int32_t length, int32_t eccCount,
                                BlockCorrection& correction);

}  // namespace ecc200
