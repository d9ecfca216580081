// The user mark check: a block shows the mark when the error correction had to invert exactly
// the mark's codeword in it. Other corrections (print damage) in the same block do not matter.
#include "decoding/user_mark_verdict.h"

#include "ecc200.h"
#include "geometry/size_table.h"
#include "marks/user_mark.h"

namespace ecc200 {
namespace {

constexpr uint8_t kAllBitsInverted = 0xFF;

bool BlockShowsMark(const BlockCorrection& correction, int32_t indexInBlock) {
    for (int32_t i = 0; i < correction.count; ++i) {
        if (correction.positions[i] == indexInBlock) {
            return correction.values[i] == kAllBitsInverted;
        }
    }
    return false;
}

}  // namespace

UserMarkVerdict CheckUserMark(MarkState& state, int32_t sizeIndex, const uint8_t* data,
                              int32_t dataLength, const StreamCorrections& corrections) {
    int32_t positions[kUserMarkValueCount];
    const int32_t count = UserMarkStreamPositions(state, sizeIndex, dataLength, data, positions);
    int32_t marked = 0;
    for (int32_t k = 0; k < count; ++k) {
        const int32_t blockCount = SizeAt(sizeIndex).blockCount;
        // Stream position p is codeword p / B of block p % B (see InterleavedPosition).
        const int32_t block = positions[k] % blockCount;
        if (BlockShowsMark(corrections[block], positions[k] / blockCount)) ++marked;
    }
    if (count > 0 && marked == count) return {ECC200_MARK_VALID, marked};
    return {marked == 0 ? ECC200_MARK_ABSENT : ECC200_MARK_PARTIAL, marked};
}

}  // namespace ecc200
