// The driver of the codeword forms: ASCII first, then whichever form each latch enters, until
// the first pad or the end of the data codewords; then the macro trailer and the symbology
// identifier.
#include "decoding/data_decodation.h"

#include "decoding/decodation_state.h"

namespace ecc200 {
namespace {

constexpr char kMacroTrailer[] = "\x1E\x04";

// "]d" and the modifier: 1 plain, 2 GS1 (FNC1 first), 3 FNC1 after an application indicator;
// 3 more when the data carries ECI designators.
void SetSymbologyId(const DecodationState& state, ECC200_Reading& reading) {
    int32_t modifier = 1;
    if (reading.gs1 != 0) {
        modifier = 2;
    } else if (state.aimFnc1) {
        modifier = 3;
    }
    if (state.eciSeen) modifier += 3;
    reading.symbologyId[0] = ']';
    reading.symbologyId[1] = 'd';
    reading.symbologyId[2] = static_cast<char>('0' + modifier);
    reading.symbologyId[3] = '\0';
}

Segment DecodeSegment(DecodationState& state, Segment segment) {
    switch (segment) {
        case Segment::kAscii:
            return DecodeAsciiSegment(state);
        case Segment::kC40:
            return DecodeC40TextSegment(state, false);
        case Segment::kText:
            return DecodeC40TextSegment(state, true);
        case Segment::kX12:
            return DecodeX12Segment(state);
        case Segment::kEdifact:
            return DecodeEdifactSegment(state);
        case Segment::kBase256:
            return DecodeBase256Segment(state);
        default:
            return segment;
    }
}

}  // namespace

bool DecodeDataCodewords(const uint8_t* codewords, int32_t count, ECC200_Reading& reading) {
    reading.dataLength = 0;
    DecodationState state{.codewords = codewords, .count = count, .reading = reading};
    Segment segment = Segment::kAscii;
    while (segment != Segment::kEnd && segment != Segment::kInvalid) {
        segment = DecodeSegment(state, segment);
    }
    if (segment == Segment::kInvalid) return false;
    if (reading.macro != 0) {
        for (const char* c = kMacroTrailer; *c != '\0'; ++c) state.Put(static_cast<uint8_t>(*c));
    }
    if (state.overflow) return false;
    SetSymbologyId(state, reading);
    return true;
}

}  // namespace ecc200
