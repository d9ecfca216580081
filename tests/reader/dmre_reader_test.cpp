// The rectangular extension (DMRE) sizes end to end: each agrees module for module with zint's
// symbol for the same codewords (an independent placement and assembly), holds exactly its
// capacity in every scheme and reads back with zxing-cpp there, and is what the DMRE shape picks
// where it is the smallest by area.
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

using Bytes = std::vector<uint8_t>;
using testing::BytesOf;
using testing::EncodeAndRead;
using testing::Settings;

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

// One data class and scheme of the capacity walk, with the bytes it holds at a capacity of n
// codewords where that follows from the scheme alone (0: found by search).
struct SchemeCase {
    const char* name;
    Settings settings;
    int32_t dataClass;  // testing::RandomData's classes; -1 for letters only
    int32_t (*expectedLength)(int32_t capacity);
};

// clang-format off
const SchemeCase kSchemeCases[] = {
    {"ascii digits", {.scheme = ECC200_SCHEME_ASCII, .encodation = 0}, 8,
     [](int32_t n) { return 2 * n; }},
    {"ascii letters", {.scheme = ECC200_SCHEME_ASCII, .encodation = 0}, -1,
     [](int32_t n) { return n; }},
    // The latch and one length byte (the symbols hold fewer than 250 bytes).
    {"base256", {.scheme = ECC200_SCHEME_BASE256, .encodation = 0}, 3,
     [](int32_t n) { return n - 2; }},
    {"c40", {.scheme = ECC200_SCHEME_C40, .encodation = 0}, 2, nullptr},
    {"text", {.scheme = ECC200_SCHEME_TEXT, .encodation = 0}, 5, nullptr},
    {"x12", {.scheme = ECC200_SCHEME_X12, .encodation = 0}, 7, nullptr},
    {"edifact", {.scheme = ECC200_SCHEME_EDIFACT, .encodation = 0}, 4, nullptr},
    {"look-ahead", {.scheme = ECC200_SCHEME_AUTO, .encodation = 0}, 0, nullptr},
    {"smallest", {.scheme = ECC200_SCHEME_AUTO}, 0, nullptr},
};
// clang-format on

// The longest prefix that fits reads back, and one byte more fails with status 1 (the fixed size
// is too small); where the scheme alone fixes the length, it is that length.
TEST_P(DmreSize, HoldsItsCapacityInEveryScheme) {
    const int32_t size = GetParam();
    const int32_t capacity = SizeAt(size).totalDataCodewords;
    for (const SchemeCase& c : kSchemeCases) {
        SCOPED_TRACE(c.name);
        Settings s = c.settings;
        s.size = size;
        std::mt19937 random(static_cast<uint32_t>(size * 31 + c.dataClass));
        const Bytes pool =
            c.dataClass < 0 ? Bytes(600, 'A') : testing::RandomData(c.dataClass, 600, random);
        std::size_t fits = 0, fails = pool.size();
        while (fails - fits > 1) {
            const std::size_t middle = (fits + fails) / 2;
            (EncodeAndRead(s, testing::Prefix(pool, middle), false).status == 0 ? fits : fails) =
                middle;
        }
        if (c.expectedLength != nullptr) {
            EXPECT_EQ(static_cast<int32_t>(fits), c.expectedLength(capacity));
        }
        const Bytes full = testing::Prefix(pool, fits);
        const auto exact = EncodeAndRead(s, full);
        ASSERT_EQ(exact.status, 0);
        EXPECT_EQ(exact.size, size);
        EXPECT_EQ(BytesOf(exact.read), full);
        EXPECT_EQ(EncodeAndRead(s, testing::Prefix(pool, fits + 1), false).status,
                  ECC200_ERR_SIZE_TOO_SMALL);
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

// The DMRE sizes chosen automatically read back; a size that the DMRE shape reaches first (20x44
// for 50 codewords, 16x48 over the DMRE 8x96 on equal area) is the one reported.
TEST(DmreShape, ChosenSizesReadBack) {
    const struct {
        int32_t codewords;
        int32_t size;
    } kCases[] = {{18, ECC200_SIZE_18X18},  {50, ECC200_SIZE_20X44}, {49, ECC200_SIZE_16X48},
                  {63, ECC200_SIZE_26X40},  {90, ECC200_SIZE_26X48}, {100, ECC200_SIZE_24X64},
                  {118, ECC200_SIZE_26X64}, {119, ECC200_SIZE_44X44}};
    for (const auto& c : kCases) {
        const Bytes data(static_cast<std::size_t>(c.codewords), 'Z');
        const auto e = EncodeAndRead(
            {.scheme = ECC200_SCHEME_ASCII, .encodation = 0, .shape = ECC200_SHAPE_DMRE}, data);
        EXPECT_EQ(e.size, c.size) << c.codewords;
        EXPECT_EQ(BytesOf(e.read), data) << c.codewords;
    }
}

}  // namespace
}  // namespace ecc200
