// The state shared by the decoders of the codeword forms: the data codewords and where reading
// stands in them, the bytes decoded so far and the facts gathered along the way.
#pragma once

#include <cstdint>

#include "ecc200.h"

namespace ecc200 {

// What comes next in the stream: a form to decode, its end, or a codeword no form allows there.
enum class Segment { kAscii, kC40, kText, kX12, kEdifact, kBase256, kEnd, kInvalid };

struct DecodationState {
    const uint8_t* codewords;   // the data codewords (pads included)
    int32_t count;              // how many
    int32_t position = 0;       // next codeword to read
    ECC200_Reading& reading;    // decoded bytes and flags go here
    int32_t firstPosition = 0;  // where FNC1 stands for GS1 data: 0, or 4 after structured append
    bool eciSeen = false;
    bool aimFnc1 = false;  // FNC1 in second position, after an application indicator
    bool overflow = false;

    bool AtEnd() const { return position >= count; }
    int32_t Remaining() const { return count - position; }
    uint8_t Next() { return codewords[position++]; }

    void Put(uint8_t byte) {
        if (reading.dataLength >= ECC200_MAX_READ_LENGTH) {
            overflow = true;
            return;
        }
        reading.data[reading.dataLength++] = byte;
    }
};

// Each decoder starts at state.position, right after the latch that entered its form, and
// returns what follows it.
Segment DecodeAsciiSegment(DecodationState& state);
Segment DecodeC40TextSegment(DecodationState& state, bool text);
Segment DecodeX12Segment(DecodationState& state);
Segment DecodeEdifactSegment(DecodationState& state);
Segment DecodeBase256Segment(DecodationState& state);

}  // namespace ecc200
