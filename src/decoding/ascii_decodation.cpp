// ASCII, the form every stream starts in: single bytes, digit pairs, Upper Shift, the latches
// into the other forms, and the codewords with a meaning of their own (FNC1, ECI, structured
// append, reader programming, the macros).
#include "decoding/decodation_state.h"
#include "encodation/packing.h"
#include "encodation/encoder_cursor.h"
#include "encodation/stream_prefix.h"

namespace ecc200 {
namespace {

constexpr uint8_t kLastAsciiCodeword = 128;  // codewords 1..128 are the bytes 0..127
constexpr uint8_t kLastDigitPair = kDigitPairBase + 99;
constexpr int32_t kExtendedOffset = 128;  // what Upper Shift adds to the next byte

void PutText(DecodationState& state, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) state.Put(static_cast<uint8_t>(*c));
}

// The ECI designator of one to three codewords after 241; -1 when malformed.
int32_t ReadEciDesignator(DecodationState& state) {
    if (state.AtEnd()) return -1;
    const int32_t c1 = state.Next();
    if (c1 >= 1 && c1 <= kEciOneCodewordMax + 1) return c1 - 1;
    auto nextDigit = [&state]() {
        if (state.AtEnd()) return -1;
        const int32_t c = state.Next();
        return c >= 1 && c <= 254 ? c - 1 : -1;
    };
    if (c1 >= 128 && c1 <= 191) {
        const int32_t c2 = nextDigit();
        if (c2 < 0) return -1;
        return (c1 - 128) * 254 + c2 + kEciOneCodewordMax + 1;
    }
    if (c1 >= 192 && c1 <= 253) {
        const int32_t c2 = nextDigit();
        const int32_t c3 = nextDigit();
        if (c2 < 0 || c3 < 0) return -1;
        const int32_t designator = (c1 - 192) * 64516 + c2 * 254 + c3 + kEciTwoCodewordMax + 1;
        return designator <= 999999 ? designator : -1;
    }
    return -1;
}

// Structured append: the symbol's position and the count of symbols in one codeword (position
// - 1 in the high four bits, 17 - count in the low four), then the two codewords of the file
// identifier. False when malformed.
bool ReadStructuredAppend(DecodationState& state) {
    if (state.Remaining() < 3) return false;
    const int32_t sequence = state.Next();
    const int32_t fileHigh = state.Next();
    const int32_t fileLow = state.Next();
    const int32_t position = (sequence >> 4) + 1;
    const int32_t count = 17 - (sequence & 0x0F);
    if (count < 2 || count > 16 || position > count) return false;
    state.reading.appendPosition = position;
    state.reading.appendCount = count;
    state.reading.appendFileId = fileHigh * 256 + fileLow;
    state.firstPosition = 4;
    return true;
}

// An application indicator before an FNC1 in second position: one letter or one digit pair.
bool IsApplicationIndicator(uint8_t codeword) {
    const int32_t byte = codeword - 1;
    const bool letter = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
    return letter || (codeword >= kDigitPairBase && codeword <= kLastDigitPair);
}

// FNC1: GS1 data in first position, an application indicator's end in second position after
// one, else a field separator (GS).
void ReadFnc1(DecodationState& state, int32_t at) {
    if (at == state.firstPosition) {
        state.reading.gs1 = 1;
    } else if (at == state.firstPosition + 1 &&
               IsApplicationIndicator(state.codewords[state.firstPosition])) {
        state.aimFnc1 = true;
    } else {
        state.Put(kGroupSeparator);
    }
}

// The codewords that only open a stream, at its very first position.
bool ReadOpeningCodeword(DecodationState& state, uint8_t codeword, int32_t at) {
    if (at != 0) return false;
    switch (codeword) {
        case kStructuredAppend:
            return ReadStructuredAppend(state);
        case kReaderProgramming:
            state.reading.readerProgramming = 1;
            return true;
        case kMacro05:
            state.reading.macro = 5;
            PutText(state, kMacro05Header);
            return true;
        default:
            state.reading.macro = 6;
            PutText(state, kMacro06Header);
            return true;
    }
}

}  // namespace

Segment DecodeAsciiSegment(DecodationState& state) {
    bool upperShift = false;
    while (!state.AtEnd()) {
        const int32_t at = state.position;
        const uint8_t c = state.Next();
        if (upperShift) {
            if (c < 1 || c > kLastAsciiCodeword) return Segment::kInvalid;
            state.Put(static_cast<uint8_t>(c - 1 + kExtendedOffset));
            upperShift = false;
            continue;
        }
        if (c >= 1 && c <= kLastAsciiCodeword) {
            state.Put(static_cast<uint8_t>(c - 1));
        } else if (c == kFirstPad) {
            return Segment::kEnd;
        } else if (c >= kDigitPairBase && c <= kLastDigitPair) {
            state.Put(static_cast<uint8_t>('0' + (c - kDigitPairBase) / 10));
            state.Put(static_cast<uint8_t>('0' + (c - kDigitPairBase) % 10));
        } else {
            switch (c) {
                case kLatchC40:
                    return Segment::kC40;
                case kLatchText:
                    return Segment::kText;
                case kLatchX12:
                    return Segment::kX12;
                case kLatchEdifact:
                    return Segment::kEdifact;
                case kLatchBase256:
                    return Segment::kBase256;
                case kUpperShift:
                    upperShift = true;
                    break;
                case kFnc1:
                    ReadFnc1(state, at);
                    break;
                case kEci: {
                    const int32_t designator = ReadEciDesignator(state);
                    if (designator < 0) return Segment::kInvalid;
                    if (!state.eciSeen) state.reading.eci = designator;
                    state.eciSeen = true;
                    break;
                }
                case kStructuredAppend:
                case kReaderProgramming:
                case kMacro05:
                case kMacro06:
                    if (!ReadOpeningCodeword(state, c, at)) return Segment::kInvalid;
                    break;
                default:
                    return Segment::kInvalid;  // 0, 242..253, and 254 outside C40, Text, X12
            }
        }
    }
    return upperShift ? Segment::kInvalid : Segment::kEnd;
}

}  // namespace ecc200
