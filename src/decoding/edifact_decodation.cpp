// EDIFACT: three codewords hold four 6-bit values, first value in the highest bits. The value 31
// returns to ASCII at the next whole codeword (the rest of that codeword's bits, and of the group,
// are not read), and with fewer than three codewords left the form has ended without it.
#include "decoding/decodation_state.h"
#include "encodation/packing.h"

namespace ecc200 {
namespace {

constexpr int32_t kValuesPerGroup = 4;
constexpr int32_t kCodewordsPerGroup = 3;

}  // namespace

Segment DecodeEdifactSegment(DecodationState& state) {
    for (;;) {
        if (state.AtEnd()) return Segment::kEnd;
        if (state.Remaining() < kCodewordsPerGroup) return Segment::kAscii;
        const int32_t groupStart = state.position;
        uint32_t bits = 0;
        for (int32_t k = 0; k < kCodewordsPerGroup; ++k) {
            bits = (bits << 8) | state.codewords[groupStart + k];
        }
        for (int32_t v = 0; v < kValuesPerGroup; ++v) {
            const uint32_t value = (bits >> (18 - 6 * v)) & 0x3Fu;
            if (value == kEdifactUnlatchValue) {
                // The unlatch's last bit lies in codeword (6 * v + 5) / 8 of the group.
                state.position = groupStart + (6 * v + 5) / 8 + 1;
                return Segment::kAscii;
            }
            // A byte c of 32..94 is stored as c mod 64: values below 32 stand for 64..94.
            state.Put(static_cast<uint8_t>(value < 32 ? value + 64 : value));
        }
        state.position = groupStart + kCodewordsPerGroup;
    }
}

}  // namespace ecc200
