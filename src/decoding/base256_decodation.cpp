// Base 256: a length field of one or two codewords (0 for "to the end of the data"), then that
// many bytes, all of them randomised by their stream position.
#include "decoding/decodation_state.h"
#include "encodation/packing.h"

namespace ecc200 {
namespace {

uint8_t NextDerandomised(DecodationState& state) {
    const int32_t streamPosition = state.position + 1;
    return DerandomiseBase256(state.Next(), streamPosition);
}

}  // namespace

Segment DecodeBase256Segment(DecodationState& state) {
    if (state.AtEnd()) return Segment::kInvalid;
    const int32_t first = NextDerandomised(state);
    int32_t length = first;
    if (first == 0) {
        length = state.Remaining();
    } else if (first >= kLongBase256Field) {
        if (state.AtEnd()) return Segment::kInvalid;
        length = kLongBase256Field * (first - (kLongBase256Field - 1)) + NextDerandomised(state);
    }
    if (length > state.Remaining()) return Segment::kInvalid;
    for (int32_t i = 0; i < length; ++i) state.Put(NextDerandomised(state));
    return Segment::kAscii;
}

}  // namespace ecc200
