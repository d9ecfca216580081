// Symbols made with the options, read back by an independent reader: ECI designators, the
// automatic shape, and the encodes of the automatic scheme that the smallest encodation mends. (The
// smallest encodation at every size is read back with the schemes.)
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

// ECI designators of one, two and three codewords at the bounds of each form, with the look-ahead
// and with the smallest encodation, as the reader reports them in its ECI-protocol bytes
// (symbology identifier ]d4, a backslash and six digits, the data); UTF-8 under ECI 26 reads as
// its text. GS1 and ECI together are refused.
TEST(EciReader, DesignatorValuesAtTheirBounds) {
    const Bytes data = testing::Bytes("Gr\303\274\303\237e 123 ABC");  // UTF-8
    for (const int32_t eci : {1, 26, 126, 127, 900, 16382, 16383, 80000, ECC200_MAX_ECI}) {
        for (const int32_t encodation : {ECC200_ENCODATION_LOOKAHEAD, ECC200_ENCODATION_SMALLEST}) {
            const auto e = EncodeAndRead({.encodation = encodation, .eci = eci}, data);
            ASSERT_EQ(e.status, 0) << eci;
            const auto bytes = e.read.bytesECI();
            char expected[8];
            std::snprintf(expected, sizeof expected, "\\%06d", static_cast<int>(eci));
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
                      std::string("]d4") + expected + std::string(data.begin(), data.end()))
                << eci;
            EXPECT_TRUE(eci != 26 || e.read.text() == L"Gr\u00FC\u00DFe 123 ABC");
        }
    }
    EXPECT_EQ(EncodeAndRead({.gs1 = 1, .eci = 26}, data).status, ECC200_ERR_PARAMETER);
    EXPECT_EQ(EncodeAndRead({.gs1 = 1}, testing::Bytes("\03510LOT")).status, ECC200_ERR_PARAMETER);
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
