// C40 and Text encodation: three values of 0..39 packed into two codewords.
#pragma once

#include <array>
#include <cstdint>

#include "encodation/encoder_cursor.h"

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

namespace detail {

// Builds the lookup from the four sets: the basic set holds space, digits and the scheme's own
// letters; shift 1 the control characters; shift 2 the punctuation; shift 3 the grave accent,
// the other letters and the characters 123..127.
constexpr CharSetTable MakeCharSetTable(uint8_t latch, char basicLetterA, char shift3LetterA) {
    CharSetTable table{latch, {}};
    auto assign = [&table](int32_t character, CharValues values) {
        table.byCharacter[static_cast<std::size_t>(character)] = values;
    };
    for (int32_t c = 0; c < 32; ++c) assign(c, {2, {0, static_cast<uint8_t>(c)}});
    assign(' ', {1, {3, 0}});
    for (int32_t d = 0; d < 10; ++d) assign('0' + d, {1, {static_cast<uint8_t>(4 + d), 0}});
    uint8_t punctuation = 0;
    for (int32_t c = 33; c <= 95; ++c) {
        const bool inShift2 = c <= 47 || (c >= 58 && c <= 64) || c >= 91;
        if (inShift2) assign(c, {2, {1, punctuation++}});
    }
    assign('`', {2, {2, 0}});
    for (int32_t l = 0; l < 26; ++l) {
        assign(basicLetterA + l, {1, {static_cast<uint8_t>(14 + l), 0}});
        assign(shift3LetterA + l, {2, {2, static_cast<uint8_t>(1 + l)}});
    }
    for (int32_t c = 123; c <= 127; ++c) assign(c, {2, {2, static_cast<uint8_t>(c - 96)}});
    return table;
}

}  // namespace detail

inline constexpr CharSetTable C40CharSets = detail::MakeCharSetTable(kLatchC40, 'A', 'a');
inline constexpr CharSetTable TextCharSets = detail::MakeCharSetTable(kLatchText, 'a', 'A');

// Encodes the run in C40 or Text (the latch is already written). Stops taking bytes once 1558
// values are held; the rest stays in the cursor. An empty run takes back the scheme's latch just
// before `count`. A last single value is completed with shift 2 and Upper Shift, a last pair with
// shift 1. Returns the number of codewords written; never fails and never writes the unlatch.
int32_t EncodeC40Text(const CharSetTable& sets, EncoderCursor& cursor);

}  // namespace ecc200
