// The cursor that every encoder takes and advances, the scheme identifiers and the codeword values
// that switch between schemes.
#pragma once

#include <cstdint>

namespace ecc200 {

inline constexpr int32_t kSchemeAuto = 0;
inline constexpr int32_t kSchemeAscii = 1;
inline constexpr int32_t kSchemeC40 = 2;
inline constexpr int32_t kSchemeBase256 = 3;
inline constexpr int32_t kSchemeEdifact = 4;
inline constexpr int32_t kSchemeText = 5;
inline constexpr int32_t kSchemeX12 = 6;

inline constexpr uint8_t kLatchC40 = 230;
inline constexpr uint8_t kLatchBase256 = 231;
inline constexpr uint8_t kUpperShift = 235;
inline constexpr uint8_t kLatchX12 = 238;
inline constexpr uint8_t kLatchText = 239;
inline constexpr uint8_t kLatchEdifact = 240;
inline constexpr uint8_t kUnlatch = 254;  // back to ASCII from C40, Text and X12
inline constexpr uint8_t kFirstPad = 129;
inline constexpr uint8_t kFnc1 = 232;
inline constexpr uint8_t kEci = 241;
inline constexpr uint8_t kGroupSeparator = 0x1D;  // the data byte that GS1 data writes as FNC1
// Codewords that only open a stream: structured append with its three codewords, reader
// programming, and the two macros that stand for a message header and trailer.
inline constexpr uint8_t kStructuredAppend = 233;
inline constexpr uint8_t kReaderProgramming = 234;
inline constexpr uint8_t kMacro05 = 236;
inline constexpr uint8_t kMacro06 = 237;

// The codeword that switches from ASCII into a scheme other than ASCII.
inline constexpr uint8_t LatchOf(int32_t scheme) {
    switch (scheme) {
        case kSchemeC40:
            return kLatchC40;
        case kSchemeText:
            return kLatchText;
        case kSchemeX12:
            return kLatchX12;
        case kSchemeEdifact:
            return kLatchEdifact;
        default:
            return kLatchBase256;
    }
}

// Failure results of the encoders and drivers; the pipeline reports their magnitude as status.
inline constexpr int32_t kEdifactByteError = -4;
inline constexpr int32_t kX12ByteError = -6;
inline constexpr int32_t kInputLeftOverError = -6;  // C40 or Text stopped at their value limit
inline constexpr int32_t kBase256EmptyError = -17;
inline constexpr int32_t kBadParameterError = -8;
inline constexpr int32_t kFixedSizeTooSmallError = -1;
inline constexpr int32_t kTooLongForAllSizesError = -2;
inline constexpr int32_t kInternalError = -18;  // an encoder found its own results inconsistent

// The unconsumed input and the codeword output of one encode.
//
// Codewords at or past `capacity` are counted but not stored: `count` then says how long the
// stream would be with an unbounded array, so callers can reject it as too long while every
// error an encoder raises further on still comes out. A null `out` is counting mode: nothing is
// written and `count` stays as it is (only EncodeAscii accepts it).
struct EncoderCursor {
    const uint8_t* position = nullptr;  // next unconsumed data byte
    int32_t remaining = 0;              // bytes from `position` on that this call may consume
    uint8_t* out = nullptr;             // codeword array, or null in counting mode
    int32_t capacity = 0;               // codewords that `out` can hold
    int32_t count = 0;                  // index of the next free codeword
    int32_t lastPut = -1;  // value of the codeword at count - 1 while it is known, else -1

    bool Counting() const { return out == nullptr; }

    uint8_t Take() {
        --remaining;
        return *position++;
    }

    void Put(uint8_t codeword) {
        if (out != nullptr && count >= 0 && count < capacity) out[count] = codeword;
        ++count;
        lastPut = codeword;
    }

    // The codeword just before `count` (-1 when there is none or it is no longer known). Read
    // from the array while it lies inside, otherwise from the value remembered by Put.
    int32_t Previous() const {
        if (count <= 0) return -1;
        if (out != nullptr && count - 1 < capacity) return out[count - 1];
        return lastPut;
    }

    // Takes back the codeword just before `count` (a latch that turned out to be unneeded).
    void DropPrevious() {
        if (count > 0) --count;
        lastPut = -1;
    }
};

}  // namespace ecc200
