// The states of the smallest encodation's search and the rules that move between them, shared
// by its three parts: the search (smallest_search.cpp), the way back (smallest_path.cpp) and the
// writer (smallest_writer.cpp).
//
// A state is the scheme the stream stands in and, for C40, Text and EDIFACT, how many values of
// an unfinished triplet or group are pending. X12 is only ever stood in at whole triplets: its
// last one or two bytes go to ASCII. Moves between states, in codewords (each is a rule of the
// scheme's packing in packing.h):
//
// | from                 | over                              | to                    | codewords |
// |----------------------|-----------------------------------|-----------------------|--------------------|
// | ASCII                | one byte                          | ASCII                 | 1, 2 above
// 127     | | ASCII                | two digits                        | ASCII                 | 1
// | | ASCII at j           | bytes j..i-1 (none a GS with GS1) | ASCII at i            | 2 + (i -
// j), 3 + (i - j) from 250 bytes | | C40, Text, p pending | a byte of v values                | (p
// + v) mod 3 pending | 2 per triplet completed | | X12                  | three bytes of the X12
// set        | X12                   | 2                  | | EDIFACT, p pending   | a byte
// of 32..94                  | (p + 1) mod 4 pending | 3 when p is 3      | | ASCII | nothing
// (latch)                   | a state of kStateRules with `enter` | `enter` | | a state | nothing
// (unlatch)                 | ASCII                 | its `leave`        |
//
// How a stream ends (the ways at the end of a symbol that readers follow) is in Ending.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/symbol.h"
#include "encodation/c40_text.h"
#include "encodation/char_classes.h"
#include "encodation/encoder_cursor.h"
#include "encodation/packing.h"

namespace ecc200::smallest {

inline constexpr int32_t kAsciiState = 0;
inline constexpr int32_t kC40State = 1;   // 1..3: 0..2 values pending
inline constexpr int32_t kTextState = 4;  // 4..6
inline constexpr int32_t kX12State = 7;
inline constexpr int32_t kEdifactState = 8;  // 8..11: 0..3 values pending
inline constexpr int32_t kStateCount = 12;

// Above every real cost (at most two codewords a byte), low enough that a cost and a few codewords
// more fit 16 bits; a single bit, so that setting it marks a cost unreached.
inline constexpr int32_t kUnreached = 1 << 14;
static_assert(2 * (kMaxDataLength + 3) < kUnreached);

constexpr std::array<uint8_t, 256> ValueCounts(const CharSetTable& sets) {
    std::array<uint8_t, 256> counts{};
    for (int32_t c = 0; c < 256; ++c) {
        uint8_t values[4] = {};
        counts[static_cast<std::size_t>(c)] =
            static_cast<uint8_t>(ValuesOfByte(sets, static_cast<uint8_t>(c), values));
    }
    return counts;
}
// A group separator takes two values as a control character and two as FNC1, so the GS1 sets
// have the same counts.
inline constexpr std::array<uint8_t, 256> kC40ValueCounts = ValueCounts(C40CharSets);
inline constexpr std::array<uint8_t, 256> kTextValueCounts = ValueCounts(TextCharSets);

// A byte in C40 or Text: its values beyond whole triplets, and the codewords of the triplets
// that its values fill alone.
struct TripletStep {
    uint8_t rest;
    uint8_t whole;
};
constexpr std::array<TripletStep, 256> TripletSteps(const std::array<uint8_t, 256>& counts) {
    std::array<TripletStep, 256> steps{};
    for (std::size_t c = 0; c < 256; ++c) {
        steps[c] = {static_cast<uint8_t>(counts[c] % 3), static_cast<uint8_t>(2 * (counts[c] / 3))};
    }
    return steps;
}
inline constexpr std::array<TripletStep, 256> kC40Steps = TripletSteps(kC40ValueCounts);
inline constexpr std::array<TripletStep, 256> kTextSteps = TripletSteps(kTextValueCounts);

// What the search asks of a byte, looked up once: whether X12 and EDIFACT carry it, and what
// kind of data it makes (see KindsOf).
inline constexpr uint8_t kInX12 = 1;
inline constexpr uint8_t kInEdifact = 2;
inline constexpr uint8_t kNotDigit = 4;
inline constexpr uint8_t kNotC40Basic = 8;
inline constexpr uint8_t kAboveAscii = 16;
inline constexpr std::array<uint8_t, 256> kByteSets = [] {
    std::array<uint8_t, 256> sets{};
    for (int32_t c = 0; c < 256; ++c) {
        const auto byte = static_cast<uint8_t>(c);
        sets[static_cast<std::size_t>(c)] = static_cast<uint8_t>(
            (IsX12(byte) ? kInX12 : 0) | (IsEdifact(byte) ? kInEdifact : 0) |
            (IsDigit(byte) ? 0 : kNotDigit) | (IsC40Basic(byte) ? 0 : kNotC40Basic) |
            (IsExtended(byte) ? kAboveAscii : 0));
    }
    return sets;
}();

// Codewords of the latch from ASCII into C40, Text, X12 or EDIFACT.
inline constexpr int32_t kLatchLength = 1;

// Each state by its scheme and pending values; `enter`: codewords from ASCII at the same position
// (the latch, into a state with nothing pending); `leave`: codewords back to ASCII there. C40 and
// Text with two values pending complete the triplet with shift 1 (two codewords) before 254;
// with one value pending they are left only by an ending (Ending::kAsciiTail, the padded
// triplet). EDIFACT leaves with the unlatch value in a group cut to whole codewords.
struct StateRule {
    int32_t scheme;
    int32_t pending;
    int32_t enter;
    int32_t leave;
};
inline constexpr StateRule kStateRules[kStateCount] = {
    {kSchemeAscii, 0, 0, 0},
    {kSchemeC40, 0, kLatchLength, 1},
    {kSchemeC40, 1, kUnreached, kUnreached},
    {kSchemeC40, 2, kUnreached, 2 + 1},
    {kSchemeText, 0, kLatchLength, 1},
    {kSchemeText, 1, kUnreached, kUnreached},
    {kSchemeText, 2, kUnreached, 2 + 1},
    {kSchemeX12, 0, kLatchLength, 1},
    {kSchemeEdifact, 0, kLatchLength, EdifactClosingLength(0)},
    {kSchemeEdifact, 1, kUnreached, EdifactClosingLength(1)},
    {kSchemeEdifact, 2, kUnreached, EdifactClosingLength(2)},
    {kSchemeEdifact, 3, kUnreached, EdifactClosingLength(3)},
};
// The search names the states by their first state and pending count; the table must agree.
static_assert(kStateRules[kC40State + 2].scheme == kSchemeC40 &&
              kStateRules[kTextState + 2].scheme == kSchemeText &&
              kStateRules[kX12State].scheme == kSchemeX12 &&
              kStateRules[kEdifactState + 3].scheme == kSchemeEdifact &&
              kStateRules[kEdifactState + 3].pending == 3);

constexpr bool IsEdifactState(int32_t state) {
    return state >= kEdifactState;
}
constexpr int32_t PendingValues(int32_t state) {
    return kStateRules[state].pending;
}
// The first state of the scheme of `state` (the one with nothing pending).
constexpr int32_t SchemeBase(int32_t state) {
    return state - kStateRules[state].pending;
}
constexpr int32_t LeaveLength(int32_t state) {
    return kStateRules[state].leave;
}

// How the way back found a state reached (kept per step of the path for the writer).
inline constexpr uint8_t kFromStart = 0;
inline constexpr uint8_t kFromAsciiByte = 1;
inline constexpr uint8_t kFromDigitPair = 2;
inline constexpr uint8_t kFromBase256 = 3;
inline constexpr uint8_t kFromStep = 4;  // an X12 triplet
inline constexpr uint8_t kFromLatch = 5;
inline constexpr uint8_t kFromRun = 6;       // C40, Text or EDIFACT bytes from the position before
inline constexpr uint8_t kFromUnlatch = 16;  // + the state left
// No move gives the stored cost: the costs contradict each other, and the way back fails.
inline constexpr uint8_t kFromNowhere = 255;

// A way for the stream to end, with the capacities C that it fits: low <= C <= high.
struct Ending {
    enum Kind : uint8_t {
        kOpen,           // the state at the end of the data, closed as the capacity allows
        kPaddedTriplet,  // C40 or Text with two values pending, completed with shift 1
        kClosingGroup,   // EDIFACT with values pending, closed with the unlatch
        kAsciiTail,      // the rest in ASCII with no unlatch, read as ASCII by the rule at the end
        kBase256ToEnd,   // a Base 256 field with length 0, running to the end of the symbol
        kDigitPairs,     // data of digits alone, in ASCII with no search
    };
    Kind kind;
    int32_t position;  // where the path of states ends
    int32_t state;
    int32_t low;
    int32_t high;
};

inline constexpr int32_t kMaxEndings = 32;

}  // namespace ecc200::smallest
