// EDIFACT: three codewords hold four 6-bit values; the value 31 returns to ASCII at the next
// codeword, and with fewer than three codewords left the form has ended without it.
#include "decoding/decodation_state.h"
#include "encodation/edifact.h"

namespace ecc200 {

Segment DecodeEdifactSegment(DecodationState& state) {
    for (;;) {
        if (state.AtEnd()) return Segment::kEnd;
        if (state.Remaining() < 3) return Segment::kAscii;
        uint32_t bits = state.Next();
        bits = (bits << 8) | state.Next();
        bits = (bits << 8) | state.Next();
        for (int32_t shift = 18; shift >= 0; shift -= 6) {
            const uint32_t value = (bits >> shift) & 0x3Fu;
            if (value == kEdifactUnlatchValue) return Segment::kAscii;
            // A byte c of 32..94 is stored as c mod 64: values below 32 stand for 64..94.
            state.Put(static_cast<uint8_t>(value < 32 ? value + 64 : value));
        }
    }
}

}  // namespace ecc200
