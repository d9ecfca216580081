// The individual encoders, the codeword cursor and the exact-fit lookup, called directly.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "encodation/ascii.h"
#include "encodation/base256.h"
#include "encodation/c40_text.h"
#include "encodation/edifact.h"
#include "encodation/encoder_cursor.h"
#include "encodation/exact_fit.h"
#include "encodation/x12.h"
#include "encodation_test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::PreparedSymbol;
using testing::Repeat;

constexpr int32_t kAuto = -1;

const uint8_t* BytesOf(std::string_view text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}

// An output array with the latch of a scheme already in it, and a cursor over `data`.
struct EncoderRun {
    explicit EncoderRun(std::string_view data, int32_t latch = -1) : bytes(data) {
        cursor = EncoderCursor{.position = BytesOf(bytes),
                               .remaining = static_cast<int32_t>(bytes.size()),
                               .out = out.data(),
                               .capacity = static_cast<int32_t>(out.size())};
        if (latch >= 0) cursor.Put(static_cast<uint8_t>(latch));
    }
    std::vector<int32_t> Written() const {
        return std::vector<int32_t>(out.begin(), out.begin() + cursor.count);
    }
    int32_t Consumed() const { return static_cast<int32_t>(cursor.position - BytesOf(bytes)); }

    std::string bytes;
    std::vector<uint8_t> out = std::vector<uint8_t>(4000, 0);
    EncoderCursor cursor;
};

TEST(EncoderCursor, CountsPastTheArrayWithoutStoring) {
    uint8_t out[3] = {0, 0, 0};
    EncoderCursor cursor{.out = out, .capacity = 2};
    for (const uint8_t cw : {uint8_t{10}, uint8_t{20}, uint8_t{30}, uint8_t{40}}) cursor.Put(cw);
    EXPECT_EQ(cursor.count, 4);
    EXPECT_EQ(out[0], 10);
    EXPECT_EQ(out[1], 20);
    EXPECT_EQ(out[2], 0);
    // The codeword before `count` is still known past the array, until it is taken back.
    EXPECT_EQ(cursor.Previous(), 40);
    cursor.DropPrevious();
    EXPECT_EQ(cursor.count, 3);
    EXPECT_EQ(cursor.Previous(), -1);
    cursor.DropPrevious();
    cursor.DropPrevious();
    EXPECT_EQ(cursor.Previous(), 10);  // inside the array again: read from it
}

// ASCII: the stream every symbol starts in.
struct AsciiCase {
    std::string name;
    std::string data;
    std::vector<int32_t> codewords;
};

class Ascii : public ::testing::TestWithParam<AsciiCase> {};

TEST_P(Ascii, WritesAndCountsTheSameCodewords) {
    const AsciiCase& c = GetParam();
    EncoderRun writing(c.data);
    EXPECT_EQ(EncodeAscii(writing.cursor), static_cast<int32_t>(c.codewords.size()));
    EXPECT_EQ(writing.Written(), c.codewords);
    EXPECT_EQ(writing.cursor.remaining, 0);

    EncoderCursor counting{
        .position = BytesOf(c.data), .remaining = static_cast<int32_t>(c.data.size()), .count = 5};
    EXPECT_EQ(EncodeAscii(counting), static_cast<int32_t>(c.codewords.size()));
    EXPECT_EQ(counting.count, 5);
    EXPECT_EQ(counting.remaining, 0);
    EXPECT_EQ(counting.position, BytesOf(c.data) + c.data.size());
}

INSTANTIATE_TEST_SUITE_P(
    Encoder, Ascii,
    ::testing::Values(AsciiCase{"OddDigitRun", "12345", {142, 164, 54}},
                      AsciiCase{"DigitThenLetter", "1A", {50, 66}},
                      AsciiCase{"LastDigitAlone", "5", {54}},
                      AsciiCase{"PairsAreGreedy", "A0099Z", {66, 130, 229, 91}},
                      AsciiCase{"UpperShiftRange", "\x80\xff\x7f", {235, 1, 235, 128, 128}},
                      AsciiCase{"ZeroByte", std::string(1, '\0'), {1}}, AsciiCase{"Empty", "", {}}),
    CaseName{});

TEST(Ascii, NothingToEncodeWhenNothingRemains) {
    EncoderRun run("12");
    run.cursor.remaining = -3;
    EXPECT_EQ(EncodeAscii(run.cursor), 0);
    EXPECT_EQ(run.Consumed(), 0);
}

// The size that a codeword count fills exactly.
struct ExactFitCase {
    std::string name;
    int32_t size;
    int32_t n;
    int32_t found;
    int32_t sizeAfter;
};

class ExactFit : public ::testing::TestWithParam<ExactFitCase> {};

TEST_P(ExactFit, FindsAndFixesTheSize) {
    const ExactFitCase& c = GetParam();
    const auto handle = PreparedSymbol("", 1, c.size);
    Symbol& symbol = testing::Internals(handle);
    EXPECT_EQ(FindExactFitSize(symbol, c.n), c.found);
    EXPECT_EQ(symbol.sizeIndex, c.sizeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ExactFit,
    ::testing::Values(ExactFitCase{"AutomaticHit", kAuto, 12, 3, 3},
                      ExactFitCase{"AutomaticMiss", kAuto, 13, kAuto, kAuto},
                      ExactFitCase{"AutomaticSmallest", kAuto, 3, 0, 0},
                      ExactFitCase{"AutomaticLargest", kAuto, 1558, 23, 23},
                      ExactFitCase{"AutomaticBeyondLargest", kAuto, 1559, kAuto, kAuto},
                      ExactFitCase{"AutomaticNothing", kAuto, 0, kAuto, kAuto},
                      ExactFitCase{"AutomaticNeverRectangle", kAuto, 10, kAuto, kAuto},
                      ExactFitCase{"FixedRectangleHit", 24, 5, 24, 24},
                      ExactFitCase{"FixedRectangleMiss", 24, 4, kAuto, 24},
                      ExactFitCase{"FixedIgnoresOtherSizes", 2, 12, kAuto, 2}),
    CaseName{});

// C40 and Text.
TEST(C40Text, CharacterSetsCoverEverySevenBitCharacter) {
    for (const CharSetTable* sets : {&C40CharSets, &TextCharSets}) {
        for (int32_t c = 0; c < 128; ++c) {
            const CharValues& v = sets->byCharacter[static_cast<std::size_t>(c)];
            ASSERT_TRUE(v.length == 1 || v.length == 2) << c;
            ASSERT_LT(v.values[0], 40) << c;
            if (v.length == 2) {
                EXPECT_LT(v.values[0], 3) << c;  // a shift value comes first
                EXPECT_LT(v.values[1], 32) << c;
            }
        }
    }
    const auto valuesOf = [](const CharSetTable& sets, char c) {
        const CharValues& v = sets.byCharacter[static_cast<uint8_t>(c)];
        return std::vector<int32_t>(v.values, v.values + v.length);
    };
    EXPECT_EQ(valuesOf(C40CharSets, 'A'), (std::vector<int32_t>{14}));
    EXPECT_EQ(valuesOf(TextCharSets, 'a'), (std::vector<int32_t>{14}));
    EXPECT_EQ(valuesOf(C40CharSets, '!'), (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(valuesOf(C40CharSets, ':'), (std::vector<int32_t>{1, 15}));
    EXPECT_EQ(valuesOf(C40CharSets, '_'), (std::vector<int32_t>{1, 26}));
    EXPECT_EQ(valuesOf(TextCharSets, '`'), (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(valuesOf(TextCharSets, 'Z'), (std::vector<int32_t>{2, 26}));
    EXPECT_EQ(valuesOf(C40CharSets, '\x7f'), (std::vector<int32_t>{2, 31}));
    EXPECT_EQ(valuesOf(C40CharSets, ' '), (std::vector<int32_t>{3}));
}

TEST(C40Text, ExtendedControlByteTakesFourValues) {
    EncoderRun run("\x81", kLatchC40);  // 1 30 0 | 1, completed with 1 30
    EXPECT_EQ(EncodeC40Text(C40CharSets, run.cursor), 4);
    EXPECT_EQ(run.Written(), (std::vector<int32_t>{230, 10, 241, 6, 135}));
}

TEST(C40Text, EmptyRunTakesBackItsLatchOnly) {
    EncoderRun withLatch("", kLatchText);
    EXPECT_EQ(EncodeC40Text(TextCharSets, withLatch.cursor), 0);
    EXPECT_EQ(withLatch.cursor.count, 0);

    EncoderRun otherLatch("", kLatchC40);  // not this scheme's latch: left alone
    EXPECT_EQ(EncodeC40Text(TextCharSets, otherLatch.cursor), 0);
    EXPECT_EQ(otherLatch.cursor.count, 1);
}

struct LimitCase {
    std::string name;
    std::string data;
    int32_t consumed;
    int32_t produced;
};

class C40ValueLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(C40ValueLimit, StopsAfterTheByteThatReachesIt) {
    const LimitCase& c = GetParam();
    EncoderRun run(c.data, kLatchC40);
    EXPECT_EQ(EncodeC40Text(C40CharSets, run.cursor), c.produced);
    EXPECT_EQ(run.Consumed(), c.consumed);
    EXPECT_EQ(run.cursor.remaining, static_cast<int32_t>(c.data.size()) - c.consumed);
}

INSTANTIATE_TEST_SUITE_P(Encoder, C40ValueLimit,
                         ::testing::Values(
                             // 1558 single values, completed with 1 30: 520 triplets.
                             LimitCase{"Letters", Repeat("A", 1600), 1558, 1040},
                             // Four values a byte: 390 bytes give 1560 values.
                             LimitCase{"ExtendedControls", Repeat("\x80", 3116), 390, 1040},
                             // Two values a byte: 779 bytes give exactly 1558.
                             LimitCase{"LowerCase", Repeat("a", 3116), 779, 1040},
                             LimitCase{"BelowTheLimit", Repeat("A", 1557), 1557, 1038}),
                         CaseName{});

// X12 failures leave what came before and report the scheme unchanged.
TEST(X12, ForeignByteInTripletStopsBeforeIt) {
    const auto handle = PreparedSymbol("", 6, kAuto);
    Symbol& symbol = testing::Internals(handle);
    EncoderRun run("ABCabc", kLatchX12);
    EXPECT_EQ(EncodeX12(symbol, run.cursor, true), -6);
    EXPECT_EQ(run.Written(), (std::vector<int32_t>{238, 89, 233}));
    EXPECT_EQ(run.Consumed(), 3);
    EXPECT_EQ(symbol.scheme, 6);
}

TEST(X12, UnlatchAlwaysWrittenBeforeLaterData) {
    const auto handle = PreparedSymbol("", 0, kAuto);
    Symbol& symbol = testing::Internals(handle);
    // Without the end of data, a tail filling 14x14 exactly still gets its unlatch.
    EncoderRun run("ABCDEFGHIJ", kLatchX12);
    EXPECT_EQ(EncodeX12(symbol, run.cursor, false), 8);
    EXPECT_EQ(run.Written(), (std::vector<int32_t>{238, 89, 233, 109, 36, 128, 95, 254, 75}));
    EXPECT_EQ(symbol.sizeIndex, kAuto);
    EXPECT_EQ(symbol.scheme, 1);
}

// EDIFACT runs that do not end the data always close with the unlatch.
struct EdifactCase {
    std::string name;
    std::string data;
    int32_t result;
    std::vector<int32_t> codewords;  // the latch first
};

class Edifact : public ::testing::TestWithParam<EdifactCase> {};

TEST_P(Edifact, RunBeforeMoreData) {
    const EdifactCase& c = GetParam();
    const auto handle = PreparedSymbol("", 0, kAuto);
    Symbol& symbol = testing::Internals(handle);
    symbol.scheme = 4;
    EncoderRun run(c.data, kLatchEdifact);
    EXPECT_EQ(EncodeEdifact(symbol, run.cursor, false), c.result);
    EXPECT_EQ(run.Written(), c.codewords);
    EXPECT_EQ(symbol.scheme, c.result < 0 ? 4 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Encoder, Edifact,
    ::testing::Values(
        EdifactCase{"ThreeInClosingGroup", "ABC", 3, {240, 4, 32, 223}},
        EdifactCase{"TwoInClosingGroup", "AB", 3, {240, 4, 39, 192}},
        EdifactCase{"FourLeaveOneToAscii", "ABCD", 4, {240, 4, 32, 223, 69}},
        EdifactCase{"FiveLeaveTwoToAscii", "ABCDE", 5, {240, 4, 32, 223, 69, 70}},
        EdifactCase{"EightGiveAGroupAndClosing", "ABCDABCD", 7, {240, 4, 32, 196, 4, 32, 223, 69}},
        // Nothing for EDIFACT to take: the latch goes, the byte is written in ASCII.
        EdifactCase{"SingleByteTakesBackLatch", "a", 1, {98}},
        EdifactCase{"EmptyTakesBackLatch", "", 0, {}},
        EdifactCase{"ForeignByteTaken", "AbC", -4, {240}},
        EdifactCase{"ForeignByteInSecondGroup", "ABCDEFGhIJ", -4, {240, 4, 32, 196}},
        EdifactCase{"ForeignBytesLeftToAscii", "ABCDa", 5, {240, 4, 32, 223, 69, 98}}),
    CaseName{});

TEST(Edifact, ForeignByteIsNotConsumed) {
    const auto handle = PreparedSymbol("", 4, kAuto);
    Symbol& symbol = testing::Internals(handle);
    EncoderRun run("ABCDEFGhIJ", kLatchEdifact);
    EXPECT_EQ(EncodeEdifact(symbol, run.cursor, true), -4);
    EXPECT_EQ(run.Consumed(), 7);
}

// Base 256 length fields, read back without the randomising.
int32_t Derandomised(const EncoderRun& run, int32_t index) {
    const int32_t stored = run.out[static_cast<std::size_t>(index)];
    return (stored - ((149 * (index + 1)) % 255 + 1) + 256) % 256;
}

struct LengthCase {
    std::string name;
    int32_t n;
    std::vector<int32_t> field;
};

class Base256Length : public ::testing::TestWithParam<LengthCase> {};

TEST_P(Base256Length, FieldAndBytes) {
    const LengthCase& c = GetParam();
    const auto handle = PreparedSymbol("", 3, kAuto);
    Symbol& symbol = testing::Internals(handle);
    std::string data;
    for (int32_t i = 0; i < c.n; ++i) data += static_cast<char>(i * 7);
    EncoderRun run(data, kLatchBase256);
    const int32_t fieldLength = static_cast<int32_t>(c.field.size());
    EXPECT_EQ(EncodeBase256(symbol, run.cursor, false), c.n + fieldLength);
    for (int32_t k = 0; k < fieldLength; ++k)
        EXPECT_EQ(Derandomised(run, 1 + k), c.field[static_cast<std::size_t>(k)]);
    for (int32_t i = 0; i < c.n; ++i) {
        ASSERT_EQ(Derandomised(run, 1 + fieldLength + i), (i * 7) % 256) << i;
    }
    EXPECT_EQ(symbol.scheme, 1);
}

INSTANTIATE_TEST_SUITE_P(Encoder, Base256Length,
                         ::testing::Values(LengthCase{"Single", 1, {1}},
                                           LengthCase{"LongestShort", 249, {249}},
                                           LengthCase{"ShortestLong", 250, {250, 0}},
                                           LengthCase{"Long", 1555, {255, 55}},
                                           // 1 + 2 + 1555 = 1558 fills 144x144: the two-codeword
                                           // length stays even at the end of data.
                                           LengthCase{"LongestField", 1749, {255, 249}}),
                         CaseName{});

TEST(Base256, LengthZeroOnlyWhenTheFieldEndsTheSymbol) {
    const auto handle = PreparedSymbol("", 3, kAuto);
    Symbol& symbol = testing::Internals(handle);
    EncoderRun run(Repeat("x", 1556), kLatchBase256);  // 1 + 1 + 1556 = 1558
    EXPECT_EQ(EncodeBase256(symbol, run.cursor, true), 1557);
    EXPECT_EQ(Derandomised(run, 1), 0);
    EXPECT_EQ(symbol.sizeIndex, 23);
}

TEST(Base256, EmptyRunFails) {
    const auto handle = PreparedSymbol("", 3, kAuto);
    EncoderRun run("", kLatchBase256);
    EXPECT_EQ(EncodeBase256(testing::Internals(handle), run.cursor, true), -17);
    EXPECT_EQ(run.cursor.count, 1);
}

TEST(Base256, RandomisesByStreamPosition) {
    EXPECT_EQ(RandomiseBase256(2, 2), 46);
    EXPECT_EQ(RandomiseBase256(65, 3), 2);
    EXPECT_EQ(RandomiseBase256(0, 255), 1);  // (149 x 255) mod 255 = 0
}

}  // namespace
}  // namespace ecc200
