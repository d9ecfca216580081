// The rectangular extension (DMRE) sizes end to end: each agrees module for module with zint's
// symbol for the same codewords (an independent placement and assembly) and is what the DMRE
// shape picks where it is the smallest by area. (Every scheme at every DMRE size is read back with
// the other sizes in the round trip.)
#include <gtest/gtest.h>
#include <zint.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

// zint numbers the DMRE sizes on from its 30 ISO/IEC 16022 sizes, in the same order as ours.
struct ZintSymbol {
    int rows = 0;
    int cols = 0;
    Bytes modules;  // top row first, 1 dark
};

ZintSymbol EncodeWithZint(const Bytes& data, int32_t sizeIndex) {
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> z(ZBarcode_Create(),
                                                                 ZBarcode_Delete);
    z->symbology = BARCODE_DATAMATRIX;
    z->option_2 = sizeIndex + 1;
    z->option_3 = DM_DMRE;
    ZintSymbol result;
    if (ZBarcode_Encode(z.get(), data.data(), static_cast<int>(data.size())) >= ZINT_ERROR)
        return result;
    result.rows = z->rows;
    result.cols = z->width;
    for (int r = 0; r < z->rows; ++r) {
        for (int c = 0; c < z->width; ++c)
            result.modules.push_back(
                static_cast<uint8_t>((z->encoded_data[r][c / 8] >> (c % 8)) & 1));
    }
    return result;
}

Bytes Digits(std::size_t n, std::mt19937& random) {
    Bytes digits(n);
    for (uint8_t& d : digits) d = static_cast<uint8_t>('0' + random() % 10);
    return digits;
}

class DmreSize : public ::testing::TestWithParam<int32_t> {};

// Digit pairs are one ASCII codeword in every encoder, and the pads and error correction are
// fixed by the symbology, so both encoders place the same codewords: a full and a padded stream.
TEST_P(DmreSize, AgreesWithZintModuleForModule) {
    const int32_t size = GetParam();
    std::mt19937 random(static_cast<uint32_t>(size));
    const auto capacity = static_cast<std::size_t>(SizeAt(size).totalDataCodewords);
    for (const std::size_t digits : {2 * capacity, capacity, std::size_t{1}}) {
        const Bytes data = Digits(digits, random);
        const auto ours = EncodeAndRead({.scheme = ECC200_SCHEME_ASCII, .size = size}, data);
        const ZintSymbol theirs = EncodeWithZint(data, size);
        ASSERT_EQ(ours.status, 0);
        EXPECT_EQ(std::tuple(theirs.rows, theirs.cols),
                  std::tuple(SizeAt(size).symbolRows, SizeAt(size).symbolCols));
        EXPECT_EQ(ours.modules, theirs.modules) << digits << " digits";
        EXPECT_EQ(BytesOf(ours.read), data);
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, DmreSize, ::testing::Range(ECC200_SIZE_8X48, ECC200_SIZE_COUNT),
                         [](const auto& param) { return std::string(SizeName(param.param)); });

// The area of a size in modules.
int32_t Area(int32_t size) {
    return SizeAt(size).symbolRows * SizeAt(size).symbolCols;
}

// Automatic size under each shape for n ASCII codewords, against a plain search of the table:
// the least area among the sizes of the shape that hold n, squares first, then the ISO/IEC 16022
// rectangles, then DMRE on equal area. DMRE never takes more area than any shape.
TEST(DmreShape, SmallestAreaOfAllSizes) {
    for (int32_t n = 1; n <= 1559; ++n) {
        const Bytes data(static_cast<std::size_t>(n), 'A');
        int32_t expected = kNoSize;
        for (int32_t i = 0; i < kSizeCount; ++i) {
            if (SizeAt(i).totalDataCodewords < n) continue;
            if (expected == kNoSize || Area(i) < Area(expected)) expected = i;
        }
        const auto any = EncodeAndRead(
            {.scheme = ECC200_SCHEME_ASCII, .encodation = 0, .shape = ECC200_SHAPE_ANY}, data,
            false);
        const auto dmre = EncodeAndRead(
            {.scheme = ECC200_SCHEME_ASCII, .encodation = 0, .shape = ECC200_SHAPE_DMRE}, data,
            false);
        ASSERT_EQ(dmre.size, expected) << n;
        if (expected == kNoSize) {
            EXPECT_EQ(dmre.status, ECC200_ERR_DATA_TOO_LONG);
            continue;
        }
        EXPECT_LE(Area(dmre.size), Area(any.size)) << n;
    }
}

// With the automatic scheme, whose end-of-data rules depend on the size, the DMRE shape still
// never takes more area than the any shape, with the look-ahead and with the smallest encodation.
TEST(DmreShape, NeverLargerThanAnyShapeWithTheAutomaticScheme) {
    std::mt19937 random(21471);
    for (int trial = 0; trial < 600; ++trial) {
        const Bytes data =
            testing::RandomData(static_cast<int32_t>(random() % 9), 1 + random() % 300, random);
        for (const int32_t encodation : {0, 1}) {
            const auto any =
                EncodeAndRead({.encodation = encodation, .shape = ECC200_SHAPE_ANY}, data, false);
            const auto dmre =
                EncodeAndRead({.encodation = encodation, .shape = ECC200_SHAPE_DMRE}, data, false);
            ASSERT_EQ(any.status, 0);
            ASSERT_EQ(dmre.status, 0);
            EXPECT_LE(Area(dmre.size), Area(any.size)) << trial << " " << encodation;
        }
    }
}

}  // namespace
}  // namespace ecc200
