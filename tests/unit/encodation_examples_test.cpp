// Whole-data encodation through both drivers: codeword streams, the size fixed on an exact fit
// and the scheme the stream ends in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encodation/auto_scheme.h"
#include "encodation/fixed_scheme.h"
#include "encodation_stream_reader.h"
#include "encodation_test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::PreparedSymbol;
using testing::Repeat;
using testing::Stored;

constexpr int32_t kAuto = -1;

struct DriverCase {
    std::string name;
    int32_t scheme;
    int32_t size;
    std::string data;
    int32_t result;                  // codeword count, or the negative error
    std::vector<int32_t> codewords;  // the stream when the result is a count
    int32_t sizeAfter;
    int32_t schemeAfter;
};

class EncodeDriver : public ::testing::TestWithParam<DriverCase> {};

TEST_P(EncodeDriver, GivesTheExpectedStream) {
    const DriverCase& c = GetParam();
    const auto handle = PreparedSymbol(c.data, c.scheme, c.size);
    Symbol& symbol = testing::Internals(handle);
    const int32_t result = c.scheme == 0 ? EncodeAutoScheme(symbol) : EncodeFixedScheme(symbol);
    ASSERT_EQ(result, c.result);
    if (result > 0) {
        EXPECT_EQ(Stored(symbol.codewords, result), c.codewords);
        EXPECT_EQ(symbol.sizeIndex, c.sizeAfter);
        EXPECT_EQ(symbol.scheme, c.schemeAfter);
    }
}

// Fixed-scheme cases: scheme 1 ASCII, 2 C40, 3 Base 256, 4 EDIFACT, 5 Text, 6 X12.
INSTANTIATE_TEST_SUITE_P(
    Ascii, EncodeDriver,
    ::testing::Values(
        DriverCase{"DigitsFillTenByTen", 1, kAuto, "123456", 3, {142, 164, 186}, 0, 1},
        DriverCase{"FourDigitsThenPad", 1, kAuto, "1234", 3, {142, 164, 129}, kAuto, 1},
        DriverCase{"OddDigitRunEndsSingle", 1, kAuto, "12345", 3, {142, 164, 54}, 0, 1},
        DriverCase{"DigitLetterNoPair", 1, kAuto, "1A", 3, {50, 66, 129}, kAuto, 1},
        DriverCase{"UpperShiftLow", 1, kAuto, "\x80", 3, {235, 1, 129}, kAuto, 1},
        DriverCase{"UpperShiftHigh", 1, kAuto, "\xff", 3, {235, 128, 129}, kAuto, 1},
        DriverCase{"Delete", 1, kAuto, "\x7f", 2, {128, 129}, kAuto, 1},
        DriverCase{"NoData", 1, kAuto, "", 1, {129}, kAuto, 1},
        DriverCase{"FixedSizeTooSmallStillPadded", 1, 0, "ABCD", 5, {66, 67, 68, 69, 129}, 0, 1}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    C40, EncodeDriver,
    ::testing::Values(
        DriverCase{"TripletFillsTenByTen", 2, kAuto, "AAA", 3, {230, 89, 191}, 0, 2},
        DriverCase{"UnlatchFillsFourteen",
                   2,
                   kAuto,
                   Repeat("A", 9),
                   8,
                   {230, 89, 191, 89, 191, 89, 191, 254},
                   2,
                   2},
        DriverCase{"UnlatchThenPad",
                   2,
                   kAuto,
                   Repeat("A", 12),
                   11,
                   {230, 89, 191, 89, 191, 89, 191, 89, 191, 254, 129},
                   kAuto,
                   2},
        DriverCase{"PairCompletedWithShift1", 2, kAuto, "AB", 3, {230, 89, 217}, 0, 2},
        DriverCase{"SingleCompletedWithUpperShift", 2, kAuto, "A", 3, {230, 87, 199}, 0, 2},
        DriverCase{"LowerCaseInShift3", 2, kAuto, "a", 3, {230, 12, 169}, 0, 2},
        DriverCase{"Punctuation", 2, kAuto, "*", 3, {230, 7, 169}, 0, 2},
        DriverCase{"ControlCharacter", 2, kAuto, "\r", 3, {230, 2, 9}, 0, 2},
        DriverCase{"ExtendedLetter", 2, kAuto, "\xc1", 3, {230, 10, 255}, 0, 2},
        DriverCase{"ExtendedControl", 2, kAuto, "\x80", 5, {230, 10, 241, 0, 71}, 1, 2},
        DriverCase{"ExtendedPunctuation", 2, kAuto, "\xaa", 5, {230, 10, 242, 56, 135}, 1, 2},
        // An empty run takes back its latch: only the pad remains, and no unlatch in ASCII.
        DriverCase{"NoDataOnlyPad", 2, kAuto, "", 1, {129}, kAuto, 2},
        DriverCase{"PastValueLimit", 2, kAuto, Repeat("A", 1600), -6, {}, kAuto, 2}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Text, EncodeDriver,
    ::testing::Values(DriverCase{"LowerCaseSingle", 5, kAuto, "a", 3, {239, 87, 199}, 0, 5},
                      DriverCase{"NoDataOnlyPad", 5, kAuto, "", 1, {129}, kAuto, 5},
                      DriverCase{"UpperCaseInShift3", 5, kAuto, "A", 3, {239, 12, 169}, 0, 5}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    X12, EncodeDriver,
    ::testing::Values(
        DriverCase{"TripletThenUnlatch", 6, kAuto, "ABC", 5, {238, 89, 233, 254, 129}, kAuto, 1},
        DriverCase{"SeparatorTriplet", 6, kAuto, "\r*>", 5, {238, 0, 43, 254, 129}, kAuto, 1},
        DriverCase{"TailFillsTwelve", 6, kAuto, "ABCD", 5, {238, 89, 233, 254, 69}, 1, 1},
        DriverCase{"TailWithoutUnlatchFillsFourteen",
                   6,
                   kAuto,
                   "ABCDEFGHIJ",
                   8,
                   {238, 89, 233, 109, 36, 128, 95, 75},
                   2,
                   1},
        DriverCase{"NoTriplet", 6, kAuto, "AB", 5, {238, 254, 66, 67, 129}, kAuto, 1},
        DriverCase{"LowerCaseInTail", 6, kAuto, "ABCd", 5, {238, 89, 233, 254, 101}, 1, 1},
        DriverCase{"LowerCaseTriplet", 6, kAuto, "abc", -6, {}, kAuto, 6},
        DriverCase{"LowerCaseEndsTriplet", 6, kAuto, "ABc", -6, {}, kAuto, 6}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Edifact, EncodeDriver,
    ::testing::Values(
        DriverCase{"GroupEndsDataNoUnlatch", 4, kAuto, "ABCD", 5, {240, 4, 32, 196, 129}, kAuto, 1},
        DriverCase{"TailFillsTwelve", 4, kAuto, "ABCDE", 5, {240, 4, 32, 196, 70}, 1, 1},
        DriverCase{"TwoTailBytesTakenWithUnlatch",
                   4,
                   kAuto,
                   "ABCDEF",
                   8,
                   {240, 4, 32, 196, 20, 103, 192, 129},
                   kAuto,
                   1},
        DriverCase{"LastByteLeftToAscii",
                   4,
                   23,
                   "ABCDABCD",
                   9,
                   {240, 4, 32, 196, 4, 32, 223, 69, 129},
                   23,
                   1},
        DriverCase{"LowerCaseTailFillsExactly", 4, kAuto, "ABCDa", 5, {240, 4, 32, 196, 98}, 1, 1},
        DriverCase{"LowerCaseTaken", 4, kAuto, "aBCD", -4, {}, kAuto, 4},
        DriverCase{"LowerCaseInUnlatchGroup", 4, kAuto, "ABCDEf", -4, {}, kAuto, 4},
        // Nothing for EDIFACT to carry: the latch is taken back instead of a closing group
        // holding the unlatch alone.
        DriverCase{"SingleByteGoesToAscii", 4, kAuto, "A", 2, {66, 129}, kAuto, 1},
        DriverCase{"NoDataFixedSize", 4, 1, "", 1, {129}, 1, 1},
        DriverCase{"NoDataAutomaticSize", 4, kAuto, "", 2, {240, 129}, kAuto, 1}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    Base256, EncodeDriver,
    ::testing::Values(
        DriverCase{"LengthField", 3, kAuto, "AB", 5, {231, 46, 2, 153, 129}, kAuto, 1},
        DriverCase{"FieldToEndOfSymbol", 3, kAuto, "ABC", 5, {231, 44, 2, 153, 47}, 1, 1},
        DriverCase{"NoData", 3, kAuto, "", -17, {}, kAuto, 3}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(
    BadRequest, EncodeDriver,
    ::testing::Values(DriverCase{"UnknownScheme", 7, kAuto, "A", -8, {}, kAuto, 7},
                      DriverCase{"UnknownSizeFixed", 1, 30, "A", -8, {}, 30, 1},
                      DriverCase{"UnknownSizeAutomatic", 0, -2, "A", -8, {}, -2, 0}),
    CaseName{});

// Automatic scheme selection (scheme 0); the stream always ends in ASCII.
INSTANTIATE_TEST_SUITE_P(
    Automatic, EncodeDriver,
    ::testing::Values(
        DriverCase{"LettersStayAscii", 0, kAuto, "AAA", 3, {66, 66, 66}, kAuto, 1},
        DriverCase{"OneLetter", 0, kAuto, "A", 2, {66, 129}, kAuto, 1},
        DriverCase{"NoData", 0, kAuto, "", 1, {129}, kAuto, 1},
        DriverCase{"SixDigits", 0, kAuto, "123456", 3, {142, 164, 186}, kAuto, 1},
        DriverCase{"FourDigits", 0, kAuto, "1234", 3, {142, 164, 129}, kAuto, 1},
        DriverCase{"C40RunClosedAtEnd",
                   0,
                   kAuto,
                   "AAAAAA",
                   7,
                   {230, 89, 191, 89, 191, 254, 129},
                   kAuto,
                   1},
        DriverCase{"C40RunFillsFourteen",
                   0,
                   kAuto,
                   "AIMAIMAIM",
                   8,
                   {230, 91, 11, 91, 11, 91, 11, 254},
                   kAuto,
                   1},
        DriverCase{"TextRun", 0, kAuto, "abcdef", 7, {239, 89, 233, 109, 36, 254, 129}, kAuto, 1},
        DriverCase{"C40ThenDigitsInAscii",
                   0,
                   kAuto,
                   "ABCDEF123456",
                   10,
                   {230, 89, 233, 109, 36, 254, 142, 164, 186, 129},
                   kAuto,
                   1},
        DriverCase{"X12RunClosedByEncoder",
                   0,
                   kAuto,
                   "******",
                   7,
                   {238, 6, 106, 6, 106, 254, 129},
                   kAuto,
                   1},
        DriverCase{"X12TailFillsFourteen",
                   0,
                   kAuto,
                   "**********",
                   8,
                   {238, 6, 106, 6, 106, 6, 106, 43},
                   2,
                   1},
        // The look-ahead keeps a byte outside the X12 set in the run; the run is cut back to
        // the triplets before it and the stream goes on in ASCII.
        DriverCase{"X12RunCutBeforeLowerCase",
                   0,
                   kAuto,
                   "******a*****",
                   14,
                   {238, 6, 106, 6, 106, 254, 98, 238, 6, 106, 254, 43, 43, 129},
                   kAuto,
                   1},
        DriverCase{"X12RunCutBeforeExtended",
                   0,
                   kAuto,
                   "******\x80"
                   "ABCDE",
                   15,
                   {238, 6, 106, 6, 106, 254, 235, 1, 230, 89, 233, 109, 17, 254, 129},
                   kAuto,
                   1}),
    CaseName{});

// Letters past the C40 and Text value limit: the first run stops at 1558 values (1040 codewords
// between latch and unlatch), and the rest is scanned again into a second run of the same scheme.
class AutomaticValueLimit : public ::testing::TestWithParam<char> {};

TEST_P(AutomaticValueLimit, SplitsTheRunAndKeepsEveryByte) {
    const std::string data(1600, GetParam());
    const auto handle = PreparedSymbol(data, 0, kAuto);
    Symbol& symbol = testing::Internals(handle);
    const int32_t latch = GetParam() == 'A' ? 230 : 239;
    ASSERT_EQ(EncodeAutoScheme(symbol), 1 + 1040 + 1 + 1 + 28 + 1 + 1);
    EXPECT_EQ(symbol.codewords[0], latch);
    EXPECT_EQ(symbol.codewords[1041], 254);
    EXPECT_EQ(symbol.codewords[1042], latch);
    EXPECT_EQ(symbol.codewords[1071], 254);
    EXPECT_EQ(symbol.codewords[1072], 129);
    const std::vector<uint8_t> stream(symbol.codewords, symbol.codewords + 1073);
    const auto bytes = testing::StreamReader(stream, 1304).Read();
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), data);
}

INSTANTIATE_TEST_SUITE_P(C40AndText, AutomaticValueLimit, ::testing::Values('A', 'a'));

}  // namespace
}  // namespace ecc200
