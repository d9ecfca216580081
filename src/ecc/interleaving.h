// Where the codewords of each interleaved Reed-Solomon block sit in the codeword stream. Block b
// of B owns the stream positions b, b + B, b + 2B, ...: first its data codewords, then its
// error-correction codewords, with the one stride B over the whole stream (so in 144x144, whose
// last two blocks hold one data codeword less, their error correction starts first).
#pragma once

#include <cstdint>

#include "geometry/size_table.h"

namespace ecc200 {

// Stream position of codeword k of a block (0-based; data codewords first).
constexpr int32_t InterleavedPosition(int32_t blockCount, int32_t block, int32_t k) {
    return block + k * blockCount;
}

// Codewords of a block, data and error correction together.
constexpr int32_t BlockLength(const SymbolSize& size, int32_t block) {
    return BlockDataCodewords(size, block) + size.blockEccCodewords;
}

// The longest block of any size (120x120: 175 + 68).
inline constexpr int32_t kMaxBlockLength = [] {
    int32_t longest = 0;
    for (const SymbolSize& size : SymbolSizeTable) {
        if (size.blockDataCodewords + size.blockEccCodewords > longest) {
            longest = size.blockDataCodewords + size.blockEccCodewords;
        }
    }
    return longest;
}();

}  // namespace ecc200
