// C40, Text and X12: codeword pairs that each hold three values of 0..39. C40 and Text map
// their values through four sets (basic, then shift 1 to 3 for the next value), X12 through one
// set; all three return to ASCII with 254, or by themselves when a single codeword is left.
// The sets are the encoder's own tables, read backwards.
#include <array>

#include "decoding/decodation_state.h"
#include "encodation/c40_text.h"
#include "encodation/encoder_cursor.h"
#include "encodation/x12.h"

namespace ecc200 {
namespace {

constexpr int32_t kValuesPerSet = 40;
constexpr int32_t kSetCount = 4;  // basic, shift 1, shift 2, shift 3

// The character of each value in each set, -1 where the set has none.
struct ValueSets {
    std::array<std::array<int16_t, kValuesPerSet>, kSetCount> character{};
};

constexpr ValueSets InvertCharSets(const CharSetTable& sets) {
    ValueSets inverse;
    for (auto& set : inverse.character) set.fill(-1);
    for (int32_t c = 0; c < 128; ++c) {
        const CharValues& v = sets.byCharacter[static_cast<std::size_t>(c)];
        const bool shifted = v.length == 2;
        const std::size_t set = shifted ? v.values[0] + 1u : 0u;
        inverse.character[set][shifted ? v.values[1] : v.values[0]] = static_cast<int16_t>(c);
    }
    return inverse;
}

constexpr std::array<int16_t, kValuesPerSet> InvertX12() {
    std::array<int16_t, kValuesPerSet> inverse{};
    inverse.fill(-1);
    for (int32_t c = 0; c < 256; ++c) {
        const int32_t value = X12Value(static_cast<uint8_t>(c));
        if (value >= 0) inverse[static_cast<std::size_t>(value)] = static_cast<int16_t>(c);
    }
    return inverse;
}

constexpr ValueSets kC40Values = InvertCharSets(C40CharSets);
constexpr ValueSets kTextValues = InvertCharSets(TextCharSets);
constexpr std::array<int16_t, kValuesPerSet> kX12Values = InvertX12();

// Reads the next pair into three values; kAscii when the form ends here (an unlatch, or a
// single codeword left), kEnd at the end of the data, kInvalid for a pair that holds no three
// values, else kC40 as "go on".
Segment NextTriplet(DecodationState& state, int32_t (&values)[3]) {
    if (state.AtEnd()) return Segment::kEnd;
    if (state.codewords[state.position] == kUnlatch) {
        ++state.position;
        return Segment::kAscii;
    }
    if (state.Remaining() == 1) return Segment::kAscii;
    const int32_t high = state.Next();
    const int32_t low = state.Next();
    const int32_t packed = high * 256 + low - 1;
    if (packed < 0 || packed >= kValuesPerSet * kValuesPerSet * kValuesPerSet) {
        return Segment::kInvalid;
    }
    values[0] = packed / 1600;
    values[1] = packed / 40 % 40;
    values[2] = packed % 40;
    return Segment::kC40;
}

// Shift and Upper Shift state that carries from one value to the next, across pairs.
struct C40TextReader {
    const ValueSets& sets;
    int32_t shift = 0;  // set of the next value: 0 basic, 1..3 a shift set
    bool upperShift = false;

    // False for a value that no set defines.
    bool Take(DecodationState& state, int32_t value) {
        const int32_t set = shift;
        shift = 0;
        if (set == 0 && value <= kShift3Value) {
            shift = value + 1;
            return true;
        }
        if (set == kShift2Value + 1 && value == kFnc1Value) {
            if (upperShift) return false;
            state.Put(kGroupSeparator);
            return true;
        }
        if (set == kShift2Value + 1 && value == kUpperShiftValue) {
            upperShift = true;
            return true;
        }
        const int32_t c =
            sets.character[static_cast<std::size_t>(set)][static_cast<std::size_t>(value)];
        if (c < 0) return false;
        state.Put(static_cast<uint8_t>(upperShift ? c + 128 : c));
        upperShift = false;
        return true;
    }
};

}  // namespace

Segment DecodeC40TextSegment(DecodationState& state, bool text) {
    // A shift left pending when the form ends only completed the last pair.
    C40TextReader reader{text ? kTextValues : kC40Values};
    for (;;) {
        int32_t values[3];
        const Segment next = NextTriplet(state, values);
        if (next != Segment::kC40) return next;
        for (const int32_t value : values) {
            if (!reader.Take(state, value)) return Segment::kInvalid;
        }
    }
}

Segment DecodeX12Segment(DecodationState& state) {
    for (;;) {
        int32_t values[3];
        const Segment next = NextTriplet(state, values);
        if (next != Segment::kC40) return next;
        for (const int32_t value : values) {
            const int32_t c = kX12Values[static_cast<std::size_t>(value)];
            if (c < 0) return Segment::kInvalid;
            state.Put(static_cast<uint8_t>(c));
        }
    }
}

}  // namespace ecc200
