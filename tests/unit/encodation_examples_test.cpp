// Worked examples of the encodation: whole data through the fixed-scheme and automatic drivers
// (codewords, and the size and scheme the call leaves), Base 256 length fields and the look-ahead
// choice. The C40 and Text value limit is pinned by the output digests.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

// Scheme (0 automatic, 1 ASCII, 2 C40, 3 Base 256, 4 EDIFACT, 5 Text, 6 X12), size, data; the
// codewords (or the negative result alone), and the size and scheme the call leaves.
using DriverCase =
    std::tuple<int32_t, int32_t, std::string, std::vector<int32_t>, int32_t, int32_t>;
// clang-format off
const DriverCase kDriverCases[] = {
    // ASCII, then requests that both drivers refuse
    {1, kAuto, "123456", {142, 164, 186}, 0, 1},  // fills 10x10: no pad
    {1, kAuto, "A0099Z", {66, 130, 229, 91, 129}, kAuto, 1},
    {1, kAuto, "\x80", {235, 1, 129}, kAuto, 1},
    {1, 0, "ABCD", {66, 67, 68, 69, 129}, 0, 1},  // too long for 10x10: still padded
    {7, kAuto, "A", {-8}, kAuto, 7},
    {1, 48, "A", {-8}, 48, 1},
    // C40 and Text: no unlatch when the data fills the symbol exactly
    {2, kAuto, "AAA", {230, 89, 191}, 0, 2},
    {2, kAuto, std::string(9, 'A'), {230, 89, 191, 89, 191, 89, 191, 254}, 2, 2},
    {2, kAuto, std::string(12, 'A'), {230, 89, 191, 89, 191, 89, 191, 89, 191, 254, 129}, kAuto, 2},
    {2, kAuto, "\x80", {230, 10, 241, 0, 71}, 1, 2},
    {2, kAuto, "", {129}, kAuto, 2},  // an empty run: the pad alone, no latch and no unlatch
    {5, kAuto, "a", {239, 87, 199}, 0, 5},
    // X12
    {6, kAuto, "ABC", {238, 89, 233, 254, 129}, kAuto, 1},
    {6, kAuto, "ABCDEFGHIJ", {238, 89, 233, 109, 36, 128, 95, 75}, 2, 1},  // J fills: no unlatch
    {6, kAuto, "AB", {238, 254, 66, 67, 129}, kAuto, 1},
    {6, kAuto, "abc", {-6}, kAuto, 6},
    // At 144x144 the end-of-data rule never applies: runs of 4k and 4k + 1 bytes leave one or
    // two bytes to ASCII. With nothing for EDIFACT to take, the latch is taken back instead of a
    // closing group holding the unlatch alone.
    {4, kAuto, "ABCD", {240, 4, 32, 196, 129}, kAuto, 1},
    {4, kAuto, "ABCDE", {240, 4, 32, 196, 70}, 1, 1},
    {4, 23, "ABCDABCD", {240, 4, 32, 196, 4, 32, 223, 69, 129}, 23, 1},
    {4, 23, "AB", {240, 4, 39, 192, 129}, 23, 1},
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
    {0, kAuto, "AIMAIMAIM", {230, 91, 11, 91, 11, 91, 11, 254}, kAuto, 1},
    {0, kAuto, "ABCDEF123456", {230, 89, 233, 109, 36, 254, 142, 164, 186, 129}, kAuto, 1},
    {0, kAuto, "**********", {238, 6, 106, 6, 106, 6, 106, 43}, 2, 1},
    {0, kAuto, "******a*****", {238, 6, 106, 6, 106, 254, 98, 238, 6, 106, 254, 43, 43, 129}, kAuto, 1},
    {0, kAuto, "******\x80" "ABCDE", {238, 6, 106, 6, 106, 254, 235, 1, 230, 89, 233, 109, 17, 254, 129}, kAuto, 1},
};
// clang-format on

TEST(Drivers, WorkedExamples) {
    for (const auto& [scheme, size, data, expected, sizeAfter, schemeAfter] : kDriverCases) {
        SCOPED_TRACE(::testing::Message() << "scheme " << scheme << ", size " << size << ", data "
                                          << ::testing::PrintToString(data));
        const auto handle = PreparedSymbol(data, scheme, size);
        Symbol& symbol = Internals(handle);
        const int32_t result = scheme == 0 ? EncodeAutoScheme(symbol) : EncodeFixedScheme(symbol);
        EXPECT_EQ(result < 0 ? std::vector<int32_t>{result}
                             : std::vector<int32_t>(symbol.codewords, symbol.codewords + result),
                  expected);
        EXPECT_EQ(symbol.sizeIndex, sizeAfter);
        EXPECT_EQ(symbol.scheme, schemeAfter);
    }
}

// Base 256 length fields read back without the randomising: one codeword below 250, two from
// 250 on, and 0 only when a one-codeword field ends exactly at the end of the symbol (144x144).
TEST(Base256, LengthField) {
    const std::pair<int32_t, std::vector<int32_t>> cases[] = {
        {249, {249}}, {250, {250, 0}}, {1749, {255, 249}}, {1556, {0}}};
    for (const auto& [n, field] : cases) {
        const auto handle = PreparedSymbol(std::string(static_cast<std::size_t>(n), 'x'), 3, 23);
        Symbol& symbol = Internals(handle);
        ASSERT_GT(EncodeFixedScheme(symbol), n);
        std::vector<int32_t> derandomised;  // stream positions count from 1, the latch's
        for (int32_t p = 2; p < 2 + static_cast<int32_t>(field.size()); ++p)
            derandomised.push_back((symbol.codewords[p - 1] - (149 * p) % 255 - 1 + 256) % 256);
        EXPECT_EQ(derandomised, field) << n;
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
