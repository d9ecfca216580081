// Symbols made with the options, read back by an independent reader: GS1 element strings, ECI
// designators, the automatic shape, and the encodes of the automatic scheme that the smallest
// encodation mends. (The smallest encodation at every size is read back with the schemes.)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::BytesOf;
using testing::EncodeAndRead;
using testing::Settings;

// GS1 element strings read back under symbology identifier ]d2, every separator as GS, in the
// automatic scheme and in every fixed scheme that carries the data.
TEST(Gs1Reader, ElementStringsReadWithSeparators) {
    int readInScheme[7] = {};
    // GS written as \035.
    for (const std::string element :
         {"01095011015300031725010110ABC123", "010950110153000310ABC123\03521XYZ",
          "0109501101530003310300012310A", "010950110153000321abc-def\03510ab",
          "80041234*>ABC*>X12\03591TEXT"}) {
        const Bytes data(element.begin(), element.end());
        for (int32_t scheme = 0; scheme <= 6; ++scheme) {
            const auto e = EncodeAndRead({.scheme = scheme, .gs1 = 1}, data);
            if (scheme != 0 && e.status != 0) continue;
            ++readInScheme[scheme];
            ASSERT_EQ(e.status, 0) << element;
            EXPECT_EQ(e.read.symbologyIdentifier(), "]d2") << element << " scheme " << scheme;
            EXPECT_EQ(BytesOf(e.read), data) << element << " scheme " << scheme;
        }
    }
    for (const int read : readInScheme) EXPECT_GT(read, 0);  // every scheme carried some rows
}

// ECI designators of one, two and three codewords; UTF-8 text under ECI 26 reads as its text.
TEST(EciReader, DesignatorsAreRead) {
    const Bytes data = testing::Bytes("Gr\303\274\303\237e 123 ABC");  // UTF-8
    for (const int32_t eci : {26, 3, 899, 16383, 999999}) {
        for (const int32_t encodation : {ECC200_ENCODATION_LOOKAHEAD, ECC200_ENCODATION_SMALLEST}) {
            const auto e = EncodeAndRead({.encodation = encodation, .eci = eci}, data);
            ASSERT_EQ(e.status, 0);
            EXPECT_TRUE(e.read.hasECI()) << eci;
            if (eci == 26) {
                EXPECT_EQ(e.read.text(), L"Gr\u00FC\u00DFe 123 ABC");
            }
        }
    }
    EXPECT_EQ(EncodeAndRead({.gs1 = 1, .eci = 26}, data).status, ECC200_ERR_PARAMETER);
    EXPECT_EQ(EncodeAndRead({.gs1 = 1}, testing::Bytes("\03510LOT")).status, ECC200_ERR_PARAMETER);
}

// The designator's value at the bounds of its one, two and three codeword forms, as the reader
// reports it in its ECI-protocol bytes (symbology identifier ]d4, a backslash and six digits, the
// data).
TEST(EciReader, DesignatorValuesAtTheirBounds) {
    const Bytes data = testing::Bytes("ECI 42");
    for (const int32_t eci : {1, 126, 127, 900, 16382, 16383, 80000, ECC200_MAX_ECI}) {
        const auto e = EncodeAndRead({.eci = eci}, data);
        ASSERT_EQ(e.status, 0) << eci;
        const auto bytes = e.read.bytesECI();
        const std::string read(bytes.begin(), bytes.end());
        char expected[8];
        std::snprintf(expected, sizeof expected, "\\%06d", static_cast<int>(eci));
        EXPECT_EQ(read.substr(0, 10), std::string("]d4") + expected) << eci;
        EXPECT_EQ(read.substr(read.size() - data.size()), "ECI 42") << eci;
    }
}

// The automatic shape takes the size of least area (the square on a tie) and the mend makes the
// automatic scheme fit where the look-ahead's stream does not.
TEST(ShapeAndMendReader, SizesAndReadBack) {
    // Data, settings, the size taken.
    const std::tuple<std::string, Settings, int32_t> rows[] = {
        {"ABCDEFGHIJKLMNOPQRSTU", {.shape = ECC200_SHAPE_ANY}, ECC200_SIZE_12X26},
        {"12345678", {.shape = ECC200_SHAPE_ANY}, ECC200_SIZE_12X12},
        {"Lot Date", {.size = 2, .encodation = ECC200_ENCODATION_LOOKAHEAD}, 2},
        {"9HR3Z6", {.size = 1, .encodation = ECC200_ENCODATION_LOOKAHEAD}, 1},
        {std::string(2333, 'Q'), {.encodation = ECC200_ENCODATION_LOOKAHEAD}, ECC200_SIZE_144X144},
        {"Hello World 123", {}, ECC200_SIZE_16X16},
    };
    for (const auto& [text, settings, size] : rows) {
        SCOPED_TRACE(text.substr(0, 20));
        const Bytes data(text.begin(), text.end());
        const auto e = EncodeAndRead(settings, data);
        ASSERT_EQ(e.status, 0);
        EXPECT_EQ(e.size, size);
        EXPECT_EQ(BytesOf(e.read), data);
    }
}

}  // namespace
}  // namespace ecc200
