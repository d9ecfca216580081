// Worked examples of the encodation: whole data through the fixed-scheme and automatic drivers
// (codewords, and the size and scheme the call leaves), the look-ahead choice, the C40 and Text
// value limit and Base 256 length fields.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "encodation/auto_scheme.h"
#include "encodation/fixed_scheme.h"
#include "encodation/lookahead.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Internals;
using testing::PreparedSymbol;

constexpr int32_t kAuto = -1;  // automatic size, or no size found

// Schemes: 0 automatic, 1 ASCII, 2 C40, 3 Base 256, 4 EDIFACT, 5 Text, 6 X12.
struct DriverCase {
    int32_t scheme;
    int32_t size;
    std::string data;
    std::vector<int32_t> expected;  // the codewords, or the negative result alone
    int32_t sizeAfter;
    int32_t schemeAfter;
};

// clang-format off
const std::vector<DriverCase> kDriverCases = {
    // ASCII, then requests that both drivers refuse
    {1, kAuto, "123456", {142, 164, 186}, 0, 1},  // fills 10x10: no pad
    {1, kAuto, "1234", {142, 164, 129}, kAuto, 1},
    {1, kAuto, "1A", {50, 66, 129}, kAuto, 1},
    {1, kAuto, "A0099Z", {66, 130, 229, 91, 129}, kAuto, 1},
    {1, kAuto, "\x80", {235, 1, 129}, kAuto, 1},
    {1, kAuto, "", {129}, kAuto, 1},
    {1, 0, "ABCD", {66, 67, 68, 69, 129}, 0, 1},  // too long for 10x10: still padded
    {7, kAuto, "A", {-8}, kAuto, 7},
    {1, 30, "A", {-8}, 30, 1},
    {0, -2, "A", {-8}, -2, 0},
    // C40 and Text: no unlatch when the data fills the symbol exactly
    {2, kAuto, "AAA", {230, 89, 191}, 0, 2},
    {2, kAuto, std::string(9, 'A'), {230, 89, 191, 89, 191, 89, 191, 254}, 2, 2},
    {2, kAuto, std::string(12, 'A'), {230, 89, 191, 89, 191, 89, 191, 89, 191, 254, 129}, kAuto, 2},
    {2, kAuto, "a", {230, 12, 169}, 0, 2},
    {2, kAuto, "\xc1", {230, 10, 255}, 0, 2},
    {2, kAuto, "\x80", {230, 10, 241, 0, 71}, 1, 2},
    {2, kAuto, "", {129}, kAuto, 2},  // an empty run: the pad alone, no latch and no unlatch
    {5, kAuto, "a", {239, 87, 199}, 0, 5},
    // X12
    {6, kAuto, "ABC", {238, 89, 233, 254, 129}, kAuto, 1},
    {6, kAuto, "\r*>", {238, 0, 43, 254, 129}, kAuto, 1},
    {6, kAuto, "ABCD", {238, 89, 233, 254, 69}, 1, 1},
    {6, kAuto, "ABCDEFGHIJ", {238, 89, 233, 109, 36, 128, 95, 75}, 2, 1},  // J fills: no unlatch
    {6, kAuto, "AB", {238, 254, 66, 67, 129}, kAuto, 1},
    {6, kAuto, "abc", {-6}, kAuto, 6},
    {6, kAuto, "ABc", {-6}, kAuto, 6},
    // At 144x144 the end-of-data rule never applies: runs of 4k and 4k + 1 bytes leave one or
    // two bytes to ASCII. With nothing for EDIFACT to take, the latch is taken back instead of a
    // closing group holding the unlatch alone.
    {4, kAuto, "ABCD", {240, 4, 32, 196, 129}, kAuto, 1},
    {4, kAuto, "ABCDE", {240, 4, 32, 196, 70}, 1, 1},
    {4, kAuto, "ABCDa", {240, 4, 32, 196, 98}, 1, 1},
    {4, 23, "ABCDABCD", {240, 4, 32, 196, 4, 32, 223, 69, 129}, 23, 1},
    {4, 23, "AB", {240, 4, 39, 192, 129}, 23, 1},
    {4, 23, "ABCDE", {240, 4, 32, 223, 69, 70, 129}, 23, 1},
    {4, 23, "a", {98, 129}, 23, 1},
    {4, kAuto, "A", {66, 129}, kAuto, 1},
    {4, 1, "", {129}, 1, 1},
    {4, kAuto, "", {240, 129}, kAuto, 1},  // the end-of-data rule applies
    {4, kAuto, "aBCD", {-4}, kAuto, 4},
    {4, 23, "ABCDEFGhIJ", {-4}, 23, 4},
    // Base 256
    {3, kAuto, "AB", {231, 46, 2, 153, 129}, kAuto, 1},
    {3, kAuto, "ABC", {231, 44, 2, 153, 47}, 1, 1},  // length 0: the field ends the symbol
    {3, kAuto, "", {-17}, kAuto, 3},
    // Automatic: the stream always ends in ASCII. From X12 the look-ahead can keep a byte outside
    // the X12 set in the run (the last two cases): the run is cut back to the triplets before it.
    {0, kAuto, "", {129}, kAuto, 1},
    {0, kAuto, "AAAAAA", {230, 89, 191, 89, 191, 254, 129}, kAuto, 1},
    {0, kAuto, "AIMAIMAIM", {230, 91, 11, 91, 11, 91, 11, 254}, kAuto, 1},
    {0, kAuto, "abcdef", {239, 89, 233, 109, 36, 254, 129}, kAuto, 1},
    {0, kAuto, "ABCDEF123456", {230, 89, 233, 109, 36, 254, 142, 164, 186, 129}, kAuto, 1},
    {0, kAuto, "******", {238, 6, 106, 6, 106, 254, 129}, kAuto, 1},
    {0, kAuto, "**********", {238, 6, 106, 6, 106, 6, 106, 43}, 2, 1},
    {0, kAuto, "******a*****", {238, 6, 106, 6, 106, 254, 98, 238, 6, 106, 254, 43, 43, 129}, kAuto, 1},
    {0, kAuto, "******\x80" "ABCDE", {238, 6, 106, 6, 106, 254, 235, 1, 230, 89, 233, 109, 17, 254, 129}, kAuto, 1},
};
// clang-format on

TEST(Drivers, WorkedExamples) {
    for (const DriverCase& c : kDriverCases) {
        SCOPED_TRACE(::testing::Message() << "scheme " << c.scheme << ", size " << c.size
                                          << ", data " << ::testing::PrintToString(c.data));
        const auto handle = PreparedSymbol(c.data, c.scheme, c.size);
        Symbol& symbol = Internals(handle);
        const int32_t result = c.scheme == 0 ? EncodeAutoScheme(symbol) : EncodeFixedScheme(symbol);
        EXPECT_EQ(result < 0 ? std::vector<int32_t>{result}
                             : std::vector<int32_t>(symbol.codewords, symbol.codewords + result),
                  c.expected);
        EXPECT_EQ(symbol.sizeIndex, c.sizeAfter);
        EXPECT_EQ(symbol.scheme, c.schemeAfter);
    }
}

// C40 and Text stop at the byte that brings them to 1558 values (1040 codewords); the fixed
// driver fails on what is left, the automatic one (scheme 0) scans it again into a second run.
TEST(Drivers, ValueLimitOfC40AndText) {
    // clang-format off
    const struct { int32_t scheme; std::string data; int32_t result; } cases[] = {
        {2, std::string(1558, 'A'), 1043}, {2, std::string(1559, 'A'), -6},
        {2, std::string(390, '\x80'), 1043}, {2, std::string(391, '\x80'), -6},
        {5, std::string(779, 'A'), 1043}, {5, std::string(780, 'A'), -6},
        // latch, 1040, unlatch, latch, 28 for the last 42 letters, unlatch, pad
        {0, std::string(1600, 'A'), 1073}, {0, std::string(1600, 'a'), 1073}};
    // clang-format on
    for (const auto& c : cases) {
        const auto handle = PreparedSymbol(c.data, c.scheme, 23);
        Symbol& symbol = Internals(handle);
        const int32_t result = c.scheme == 0 ? EncodeAutoScheme(symbol) : EncodeFixedScheme(symbol);
        EXPECT_EQ(result, c.result) << c.scheme << " " << c.data.size();
        // The second run starts with the latch of the same scheme.
        EXPECT_TRUE(c.scheme != 0 || symbol.codewords[1042] == (c.data[0] == 'A' ? 230 : 239));
    }
}

// Length fields read back without the randomising: one codeword below 250, two from 250 on, and 0
// only when a one-codeword field ends exactly at the end of the symbol (144x144, 1558).
TEST(Base256, LengthFieldAndBytes) {
    // clang-format off
    const struct { int32_t n; std::vector<int32_t> field; int32_t result; } cases[] = {
        {1, {1}, 4}, {249, {249}, 252}, {250, {250, 0}, 254}, {1555, {255, 55}, 1558},
        {1749, {255, 249}, 1753}, {1556, {0}, 1558}};
    // clang-format on
    for (const auto& c : cases) {
        std::string data;
        std::vector<int32_t> expected = c.field, derandomised;
        for (int32_t i = 0; i < c.n; ++i) data += static_cast<char>(i * 7);
        for (int32_t i = 0; i < c.n; ++i) expected.push_back((i * 7) % 256);
        const auto handle = PreparedSymbol(data, 3, 23);
        Symbol& symbol = Internals(handle);
        ASSERT_EQ(EncodeFixedScheme(symbol), c.result) << c.n;
        // Stream positions count from 1, the latch's; the field starts at 2.
        for (int32_t p = 2; p <= static_cast<int32_t>(expected.size()) + 1; ++p) {
            derandomised.push_back((symbol.codewords[p - 1] - (149 * p) % 255 - 1 + 256) % 256);
        }
        EXPECT_EQ(derandomised, expected) << c.n;
    }
}

// The counts are single precision, rounded after every addition, and ties go to the scheme
// listed first; the choices below depend on the rounding. From ASCII, three thirds make C40
// exceed 3 by one unit in the last place.
TEST(LookAhead, Choice) {
    // clang-format off
    const struct { int32_t current; std::string text; int32_t chosen; } cases[] = {
        {1, "ABC", 1}, {1, "123456", 1}, {1, "AAAAAA", 2} /* tie with X12 */, {1, "abcdef", 5},
        {1, "******", 6}, {1, "!!!!!!", 4}, {1, "\x80\x81\x82\x83\x84\x85", 3},
        {1, "AA\x80" "AAA", 2} /* C40 one unit below 7 */, {1, "123456abcdefghijkl", 1},
        {1, "1a1a", 5}, {2, "123456", 1} /* tie: ASCII first */, {6, "a*****", 6},
        {6, "\x80" "ABCDE", 6}, {2, "!", 2}, {5, "\x01", 5}, {6, "a", 1}, {4, "a", 1}, {3, "AB", 3},
        {1, "\x80\x80" "5", 3} /* Base 256 a quarter below ASCII */};
    // clang-format on
    for (const auto& c : cases) {
        const auto handle = PreparedSymbol("", c.current, kAuto);
        Symbol& symbol = Internals(handle);
        const auto* text = reinterpret_cast<const uint8_t*>(c.text.data());
        EXPECT_EQ(LookAheadTest(symbol, text, static_cast<int32_t>(c.text.size())), c.chosen)
            << "from " << c.current << ": " << c.text;
        EXPECT_EQ(symbol.scheme, c.current);
    }
}

}  // namespace
}  // namespace ecc200
