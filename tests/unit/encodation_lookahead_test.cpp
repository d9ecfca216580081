// The look-ahead test: which scheme a window of data chooses, and the exact single-precision
// counts behind the choice.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "encodation/lookahead.h"
#include "encodation_test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::PreparedSymbol;

// A count that the test must leave exactly, given by its bit pattern.
struct ExactCount {
    int32_t scheme;
    uint32_t bits;
};

struct LookAheadCase {
    std::string name;
    int32_t current;
    std::string text;
    int32_t chosen;
    std::vector<ExactCount> counts;
};

class LookAhead : public ::testing::TestWithParam<LookAheadCase> {};

TEST_P(LookAhead, ChoosesTheSmallestCount) {
    const LookAheadCase& c = GetParam();
    const auto handle = PreparedSymbol("", c.current, -1);
    Symbol& symbol = testing::Internals(handle);
    const auto* text = reinterpret_cast<const uint8_t*>(c.text.data());
    EXPECT_EQ(LookAheadTest(symbol, text, static_cast<int32_t>(c.text.size())), c.chosen);
    for (const ExactCount& expected : c.counts) {
        const float count = symbol.lookaheadCounts[expected.scheme];
        EXPECT_EQ(std::bit_cast<uint32_t>(count), expected.bits)
            << "scheme " << expected.scheme << ": " << count;
    }
    EXPECT_EQ(symbol.scheme, c.current);
}

constexpr uint32_t Bits(float value) {
    return std::bit_cast<uint32_t>(value);
}

// Schemes: 1 ASCII, 2 C40, 3 Base 256, 4 EDIFACT, 5 Text, 6 X12.
INSTANTIATE_TEST_SUITE_P(
    FromAscii, LookAhead,
    ::testing::Values(
        // Three thirds rounded one at a time make C40 exceed 3 by one unit in the last place.
        LookAheadCase{"ShortLettersStayAscii", 1, "ABC", 1, {{1, Bits(3.0f)}, {2, 0x40400001u}}},
        LookAheadCase{"DigitsStayAscii", 1, "123456", 1, {{1, Bits(3.0f)}}},
        LookAheadCase{"UpperCaseTieGoesToC40",
                      1,
                      "AAAAAA",
                      2,
                      {{2, Bits(5.0f)}, {6, Bits(5.0f)}, {1, Bits(6.0f)}}},
        LookAheadCase{"LowerCaseText", 1, "abcdef", 5, {{5, Bits(5.0f)}}},
        LookAheadCase{"AsterisksX12", 1, "******", 6, {{6, Bits(5.0f)}}},
        LookAheadCase{"PunctuationEdifact", 1, "!!!!!!", 4, {{4, Bits(5.5f)}}},
        LookAheadCase{"ExtendedBase256",
                      1,
                      "\x80\x81\x82\x83\x84\x85",
                      3,
                      {{3, Bits(7.25f)}, {1, Bits(12.0f)}}},
        // The rounding decides: C40 ends one unit below 7 and beats ASCII.
        LookAheadCase{"RoundingFavoursC40",
                      1,
                      "AA\x80"
                      "AAA",
                      2,
                      {{2, 0x40DFFFFFu}, {1, Bits(7.0f)}}},
        LookAheadCase{"WindowIsSixBytes", 1, "123456abcdefghijkl", 1, {{1, Bits(3.0f)}}},
        // A digit adds a half without rounding; the next other byte rounds up first (4, not 3).
        LookAheadCase{"AsciiRoundsUpBeforeOtherBytes", 1, "1a1a", 5, {{1, Bits(4.0f)}}}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    FromOtherSchemes, LookAhead,
    ::testing::Values(
        LookAheadCase{
            "DigitsTieLeavesC40ForAscii", 2, "123456", 1, {{1, Bits(4.0f)}, {2, Bits(4.0f)}}},
        LookAheadCase{"LowerCaseKeptInX12", 6, "a*****", 6, {{6, 0x40D55554u}, {1, Bits(7.0f)}}},
        LookAheadCase{"ExtendedKeptInX12",
                      6,
                      "\x80"
                      "ABCDE",
                      6,
                      {{6, 0x40F55554u}, {2, 0x40FFFFFFu}, {1, Bits(8.0f)}}},
        LookAheadCase{"LastByteStaysInC40", 2, "!", 2, {{2, 0x3FAAAAABu}}},
        LookAheadCase{"LastByteStaysInText", 5, "\x01", 5, {}},
        LookAheadCase{"LastForeignByteLeavesX12", 6, "a", 1, {{1, Bits(2.0f)}}},
        LookAheadCase{"LastForeignByteLeavesEdifact", 4, "a", 1, {{4, Bits(3.25f)}}},
        LookAheadCase{"Base256KeepsItsCount", 3, "AB", 3, {{3, Bits(2.0f)}, {1, Bits(3.0f)}}}),
    CaseName{});

// One byte of every class that the counts tell apart.
constexpr uint8_t kClassBytes[] = {'5', 'A', ' ', '\r', '*', 'a', '!', '{', 0x80};

bool AnyOutsideX12(const uint8_t* text, int32_t length) {
    for (int32_t k = 0; k < length; ++k) {
        const uint8_t c = text[k];
        const bool x12 = c == '\r' || c == '*' || c == '>' || c == ' ' || (c >= '0' && c <= '9') ||
                         (c >= 'A' && c <= 'Z');
        if (!x12) return true;
    }
    return false;
}

// The automatic driver relies on two things that hold for every window: it never enters X12 on
// a window holding a byte outside X12, and it never stays in EDIFACT for a byte outside EDIFACT.
TEST(LookAhead, NeverChoosesASchemeForBytesItCannotCarry) {
    const auto handle = PreparedSymbol("", 1, -1);
    Symbol& symbol = testing::Internals(handle);
    constexpr int32_t kClasses = sizeof(kClassBytes);
    uint8_t text[6];
    for (int32_t length = 1; length <= 6; ++length) {
        int32_t windows = 1;
        for (int32_t k = 0; k < length; ++k) windows *= kClasses;
        for (int32_t w = 0; w < windows; ++w) {
            for (int32_t k = 0, rest = w; k < length; ++k, rest /= kClasses) {
                text[k] = kClassBytes[rest % kClasses];
            }
            const bool foreignFirstForEdifact = text[0] < 32 || text[0] > 94;
            for (int32_t current = 1; current <= 6; ++current) {
                symbol.scheme = current;
                const int32_t chosen = LookAheadTest(symbol, text, length);
                if (current != 6 && chosen == 6) {
                    ASSERT_FALSE(AnyOutsideX12(text, length)) << "from " << current << ", " << w;
                }
                if (current == 4 && foreignFirstForEdifact) {
                    ASSERT_NE(chosen, 4) << w;
                }
            }
        }
    }
}

}  // namespace
}  // namespace ecc200
