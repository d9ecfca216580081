// The user mark: its key from the size, the data chunks and the identity, and one inverted
// codeword per interleaved block.
#include "marks/user_mark.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "geometry/size_table.h"
#include "marks/keystream.h"
#include "marks/user_mark_parts.h"

namespace ecc200 {
namespace {

// The first keystream bytes after scheduling are skipped; the next ten are the mark's values.
constexpr int32_t kDiscardedBytes = 10;

int32_t ClampedDataLength(int32_t dataLength) {
    return std::clamp<int32_t>(dataLength, 0, kMaxDataLength);
}

}  // namespace

void SumDataChunks(int32_t dataLength, const uint8_t* data, uint8_t (&sums)[kDataChunkCount]) {
    std::fill(std::begin(sums), std::end(sums), uint8_t{0});
    const int32_t n = data == nullptr ? 0 : std::max<int32_t>(dataLength, 0);
    const int32_t stride = n / kDataChunkCount + 1;
    for (int32_t k = 0; k < kDataChunkCount; ++k) {
        // Chunk k holds k bytes from k * stride; while k < stride the chunks leave gaps, from
        // then on they touch or overlap.
        const int64_t first = static_cast<int64_t>(k) * stride;
        const int64_t end = std::min<int64_t>(first + k, n);
        uint8_t sum = 0;
        for (int64_t i = first; i < end; ++i) {
            sum = static_cast<uint8_t>(sum + data[i]);
        }
        sums[k] = sum;
        if (static_cast<int64_t>(k) * (stride + 1) >= n) break;
    }
}

int32_t UserMarkPositions(const int32_t (&values)[kUserMarkValueCount], int32_t blockCount,
                          int32_t blockLength, int32_t (&positions)[kUserMarkValueCount]) {
    if (blockCount < 1 || blockCount > kUserMarkValueCount || blockLength < blockCount) return 0;
    if (blockCount == 1) {
        positions[0] = values[0] % blockLength;
        return 1;
    }
    // Position 0 is rounded down to a multiple of blockCount, so it lies in block 0. The others
    // start from the first multiple of blockCount at or below blockLength and are offset by
    // their block number; the divisor shrinks by one for each further block.
    const int32_t first = values[0] % blockLength;
    positions[0] = first - first % blockCount;
    const int32_t base = blockLength - blockLength % blockCount;
    for (int32_t k = 1; k < blockCount; ++k) {
        const int32_t r = values[k] % (blockLength - k);
        positions[k] = base + (r - r % blockCount) + k;
    }
    return blockCount;
}

bool DeriveUserMarkValues(MarkState& state, int32_t dataLength, const uint8_t* data,
                          int32_t (&values)[kUserMarkValueCount], int32_t symbolRows,
                          int32_t symbolCols) {
    static_assert(kDataChunkCount == kMarkKeyBodyBytes, "the chunk sums fill the key's body");
    uint8_t sums[kDataChunkCount];
    SumDataChunks(dataLength, data, sums);
    if (!ComposeMarkKey(state, symbolRows, symbolCols, sums, kDataChunkCount)) {
        state.loadReason = kReasonUnavailable;
        return false;
    }
    ScheduleMarkKey(state);
    DiscardMarkBytes(state, kDiscardedBytes);
    for (int32_t& value : values) value = NextMarkByte(state);
    return true;
}

bool ApplyUserMark(MarkState& state, Symbol& symbol) {
    if (!IsSizeIndex(symbol.sizeIndex)) return false;
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    // The row's block length, data and error correction: short blocks (BlockDataCodewords) do
    // not shorten it. Positions stay below twice this length, well inside the stream.
    const int32_t blockLength = size.blockDataCodewords + size.blockEccCodewords;

    int32_t values[kUserMarkValueCount];
    if (!DeriveUserMarkValues(state, ClampedDataLength(symbol.dataLength), symbol.data, values,
                              size.symbolRows, size.symbolCols)) {
        return false;
    }
    int32_t positions[kUserMarkValueCount];
    const int32_t count = UserMarkPositions(values, size.blockCount, blockLength, positions);
    const int32_t codewordCount = std::clamp<int32_t>(symbol.codewordCount, 0, kCodewordCapacity);
    for (int32_t k = 0; k < count; ++k) {
        if (positions[k] < codewordCount) {
            uint8_t& codeword = symbol.codewords[positions[k]];
            codeword = static_cast<uint8_t>(~codeword);
        }
    }
    return true;
}

}  // namespace ecc200
