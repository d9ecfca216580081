// C40 and Text encodation: three values of 0..39 packed into two codewords.
#pragma once

#include <array>
#include <cstdint>

#include "encodation/encoder_cursor.h"
#include "encodation/packing.h"

namespace ecc200 {

// The values that stand for one 7-bit character: its index in the basic set, or a shift value
// (0, 1, 2 for the shift 1, 2, 3 sets) followed by its index in that set.
struct CharValues {
    uint8_t length;
    uint8_t values[2];
};

// A scheme's character sets, as the encoder looks them up: the values of every 7-bit character,
// and the latch codeword that enters the scheme.
struct CharSetTable {
    uint8_t latch;
    std::array<CharValues, 128> byCharacter;
};

inline constexpr int32_t kC40MaxValues = 1558;  // collection stops once this many are held
// The limit, plus three values of the byte that crosses it, plus two that complete a triplet.
inline constexpr int32_t kC40ValueStorage = kC40MaxValues + 3 + 2;

inline constexpr uint8_t kFnc1Value = 27;  // FNC1 in the shift 2 set

namespace detail {

// Builds the lookup from the four sets: the basic set holds space, digits and the scheme's own
// letters; shift 1 the control characters; shift 2 the punctuation; shift 3 the grave accent,
// the other letters and the characters 123..127.
// With fnc1ForGs, the group separator (29) stands for FNC1: shift 2, value 27.
constexpr CharSetTable MakeCharSetTable(uint8_t latch, char basicLetterA, char shift3LetterA,
                                        bool fnc1ForGs = false) {
    CharSetTable table{latch, {}};
    auto assign = [&table](int32_t character, CharValues values) {
        table.byCharacter[static_cast<std::size_t>(character)] = values;
    };
    for (int32_t c = 0; c < 32; ++c) assign(c, {2, {kShift1Value, static_cast<uint8_t>(c)}});
    assign(' ', {1, {3, 0}});
    for (int32_t d = 0; d < 10; ++d) assign('0' + d, {1, {static_cast<uint8_t>(4 + d), 0}});
    uint8_t punctuation = 0;
    for (int32_t c = 33; c <= 95; ++c) {
        const bool inShift2 = c <= 47 || (c >= 58 && c <= 64) || c >= 91;
        if (inShift2) assign(c, {2, {kShift2Value, punctuation++}});
    }
    assign('`', {2, {kShift3Value, 0}});
    for (int32_t l = 0; l < 26; ++l) {
        assign(basicLetterA + l, {1, {static_cast<uint8_t>(14 + l), 0}});
        assign(shift3LetterA + l, {2, {kShift3Value, static_cast<uint8_t>(1 + l)}});
    }
    for (int32_t c = 123; c <= 127; ++c) {
        assign(c, {2, {kShift3Value, static_cast<uint8_t>(c - 96)}});
    }
    if (fnc1ForGs) assign(kGroupSeparator, {2, {kShift2Value, kFnc1Value}});
    return table;
}

}  // namespace detail

inline constexpr CharSetTable C40CharSets = detail::MakeCharSetTable(kLatchC40, 'A', 'a');
inline constexpr CharSetTable TextCharSets = detail::MakeCharSetTable(kLatchText, 'a', 'A');
// The same for GS1 data, where every group separator is written as FNC1.
inline constexpr CharSetTable C40Gs1CharSets = detail::MakeCharSetTable(kLatchC40, 'A', 'a', true);
inline constexpr CharSetTable TextGs1CharSets =
    detail::MakeCharSetTable(kLatchText, 'a', 'A', true);

// The values (one to four) that stand for byte c in these sets, written to `values`; returns how
// many. A byte of 128 or more is Upper Shift (shift 2, 30) and the plain values of byte - 128.
constexpr int32_t ValuesOfByte(const CharSetTable& sets, uint8_t c, uint8_t* values) {
    int32_t n = 0;
    if (c >= 128) {
        values[n++] = kShift2Value;
        values[n++] = kUpperShiftValue;
        c = static_cast<uint8_t>(c - 128);
        if (c < 32) {
            values[n++] = kShift1Value;
            values[n++] = c;
            return n;
        }
    }
    const CharValues& v = sets.byCharacter[c];
    values[n++] = v.values[0];
    if (v.length == 2) values[n++] = v.values[1];
    return n;
}

// Encodes the run in C40 or Text (the latch is already written). Stops taking bytes once 1558
// values are held; the rest stays in the cursor. An empty run takes back the scheme's latch just
// before `count`. A last single value is completed with shift 2 and Upper Shift, a last pair with
// shift 1. A byte of 128 or more is Upper Shift and the plain values of byte - 128, also with
// the GS1 tables. Returns the number of codewords written; never fails and never writes the
// unlatch.
int32_t EncodeC40Text(const CharSetTable& sets, EncoderCursor& cursor);

}  // namespace ecc200
