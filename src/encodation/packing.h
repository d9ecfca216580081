// How each scheme packs data into codewords, in one place for every writer of streams (the
// scheme encoders and the smallest encodation): ASCII bytes and digit pairs, the triplets of C40,
// Text and X12, EDIFACT groups, and the Base 256 length field and randomisation. A writer is any
// sink with Put(uint8_t).
#pragma once

#include <cstdint>

#include "encodation/char_classes.h"
#include "encodation/encoder_cursor.h"

namespace ecc200 {

// ASCII: a pair of digits as one codeword 130..229, a byte below 128 as byte + 1, a byte of 128
// or more as Upper Shift and byte - 127.
inline constexpr uint8_t kDigitPairBase = 130;
constexpr uint8_t AsciiDigitPair(uint8_t first, uint8_t second) {
    return static_cast<uint8_t>(kDigitPairBase + 10 * (first - '0') + (second - '0'));
}
// Codewords of one byte (not a digit pair) in ASCII.
constexpr int32_t AsciiByteLength(uint8_t c) {
    return IsExtended(c) ? 2 : 1;
}
template <typename Sink>
void PutAsciiByte(Sink& sink, uint8_t c) {
    if (!IsExtended(c)) {
        sink.Put(static_cast<uint8_t>(c + 1));
    } else {
        sink.Put(kUpperShift);
        sink.Put(static_cast<uint8_t>(c - 127));
    }
}

// C40, Text and X12: three values of 0..39 as the number 1600 a + 40 b + c + 1, written as two
// codewords, high byte first. C40 and Text name their shift sets and Upper Shift by these values.
inline constexpr uint8_t kShift1Value = 0;
inline constexpr uint8_t kShift2Value = 1;
inline constexpr uint8_t kShift3Value = 2;
inline constexpr uint8_t kUpperShiftValue = 30;  // in the shift 2 set
constexpr uint32_t TripletWord(uint32_t first, uint32_t second, uint32_t third) {
    return 1600 * first + 40 * second + third + 1;
}
template <typename Sink>
void PutTriplet(Sink& sink, uint32_t word) {
    sink.Put(static_cast<uint8_t>(word >> 8));
    sink.Put(static_cast<uint8_t>(word & 0xFFu));
}

// EDIFACT: six-bit values (byte mod 64), four to a group of 24 bits, first value in the highest
// bits, written as three codewords. The value 31 returns to ASCII; a group that holds it may be
// cut to the codewords that its values reach (a reader leaves EDIFACT at the unlatch).
inline constexpr uint8_t kEdifactUnlatchValue = 31;
constexpr uint8_t EdifactValue(uint8_t c) {
    return static_cast<uint8_t>(c & 0x3Fu);
}
// Codewords of a closing group that holds `pending` values and the unlatch, cut to whole bytes.
constexpr int32_t EdifactClosingLength(int32_t pending) {
    return (6 * (pending + 1) + 7) / 8;
}
struct EdifactGroup {
    uint32_t bits = 0;
    int32_t size = 0;

    template <typename Sink>
    void Add(uint8_t value, Sink& sink) {
        bits = (bits << 6) | (value & 0x3Fu);
        if (++size == 4) Flush(sink, 3);
    }
    // Writes the pending values (the rest of the group zero) as `codewords` of the three.
    template <typename Sink>
    void Flush(Sink& sink, int32_t codewords) {
        const uint32_t group = bits << (6 * (4 - size));
        for (int32_t k = 0; k < codewords; ++k)
            sink.Put(static_cast<uint8_t>(group >> (16 - 8 * k)));
        bits = 0;
        size = 0;
    }
};

// Base 256: a length field of one codeword for fields below 250 bytes, of two from 250 on
// (249 + n / 250, n mod 250), or the single codeword 0 for a field that runs to the end of the
// symbol; every codeword of the field randomised by its 1-based position in the stream.
inline constexpr int32_t kLongBase256Field = 250;
struct Base256Length {
    uint8_t codewords[2];
    int32_t size;
};
constexpr Base256Length Base256LengthField(int32_t n, bool toEnd) {
    if (toEnd) return {{0, 0}, 1};
    if (n < kLongBase256Field) return {{static_cast<uint8_t>(n), 0}, 1};
    return {{static_cast<uint8_t>(249 + n / kLongBase256Field),
             static_cast<uint8_t>(n % kLongBase256Field)},
            2};
}
constexpr uint8_t RandomiseBase256(uint8_t value, int32_t position) {
    return static_cast<uint8_t>((value + (149 * position) % 255 + 1) % 256);
}
// The value behind a stored Base 256 codeword at 1-based stream position `position`.
constexpr uint8_t DerandomiseBase256(uint8_t stored, int32_t position) {
    return static_cast<uint8_t>((stored + 255 - (149 * position) % 255) % 256);
}

}  // namespace ecc200
