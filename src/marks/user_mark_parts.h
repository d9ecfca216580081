// The two pure computations behind the user mark, apart from the mark's use of them: the data
// chunk sums that go into its key, and the codeword positions derived from its ten keystream
// values.
#pragma once

#include <cstdint>

namespace ecc200 {

inline constexpr int32_t kDataChunkCount = 100;
inline constexpr int32_t kUserMarkValueCount = 10;  // no size has more interleaved blocks

// Sum (mod 256) of each data chunk k = 0..99. Chunk k starts at k * s, s = n / 100 + 1, and holds
// k bytes, cut at the end of the data; the chunks stop after the first k with k * (s + 1) >= n.
// Chunks after the last one summed are 0. A negative dataLength counts as no data.
void SumDataChunks(int32_t dataLength, const uint8_t* data, uint8_t (&sums)[kDataChunkCount]);

// One codeword position per interleaved block: position k leaves the remainder k modulo
// blockCount, so each falls into its own block. blockLength is the size's data plus
// error-correction codewords per block. Returns the number of positions written, which is
// blockCount, or 0 when blockCount or blockLength is out of range.
int32_t UserMarkPositions(const int32_t (&values)[kUserMarkValueCount], int32_t blockCount,
                          int32_t blockLength, int32_t (&positions)[kUserMarkValueCount]);

}  // namespace ecc200
