#include "api/encode_pipeline.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;
using testing::SetData;
using testing::SymbolPtr;

constexpr int32_t kSize10x10 = 0;
constexpr int32_t kSize12x12 = 1;
constexpr int32_t kSize16x16 = 3;
constexpr int32_t kSize20x20 = 5;
constexpr int32_t kSize24x24 = 7;
constexpr int32_t kSize144x144 = 23;
constexpr int32_t kSize8x18 = 24;

SymbolPtr SymbolWith(int32_t scheme, int32_t size, const std::string& data) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(SetScheme_ECC200(handle.get(), scheme), 0);
    EXPECT_EQ(SetDimension_ECC200(handle.get(), size), 0);
    if (!data.empty()) {
        EXPECT_EQ(SetData(handle, data), 0);
    }
    return handle;
}

std::vector<uint8_t> SymbolModules(const Symbol& symbol) {
    std::vector<uint8_t> modules;
    for (int32_t r = 0; r < symbol.rows; ++r) {
        modules.insert(modules.end(), symbol.matrix[r], symbol.matrix[r] + symbol.cols);
    }
    return modules;
}

TEST(EncodePipeline, SixDigitsFillTheSmallestSymbol) {
    const SymbolPtr handle = SymbolWith(ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, "123456");
    Symbol& symbol = Internals(handle);
    symbol.status = 99;
    ASSERT_TRUE(EncodeSymbol(symbol));
    EXPECT_EQ(symbol.status, 0);
    EXPECT_EQ(symbol.encoded, 1);
    EXPECT_EQ(symbol.sizeIndex, kSize10x10);
    EXPECT_EQ(symbol.codewordCount, 8);
    EXPECT_EQ(std::vector<uint8_t>(symbol.codewords, symbol.codewords + 8),
              (std::vector<uint8_t>{142, 164, 186, 114, 25, 5, 88, 102}));
    EXPECT_EQ(symbol.mappingRows, 8);
    EXPECT_EQ(symbol.mappingCols, 8);
    EXPECT_EQ(symbol.rows, 10);
    EXPECT_EQ(symbol.cols, 10);
    // Codeword 1 (164 = 10100100) sits in the utah shape at the top left of the mapping matrix,
    // one module in from the finder: bits 0 and 2 at mapping (0,0) and (1,0).
    EXPECT_EQ(symbol.matrix[8][1], 1);
    EXPECT_EQ(symbol.matrix[8][2], 0);
    EXPECT_EQ(symbol.matrix[7][1], 1);
}

struct StatusCase {
    std::string name;
    int32_t scheme;
    int32_t size;
    std::string data;
    int32_t status;
    int32_t sizeAfter;
};

class EncodeStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(EncodeStatus, IsReportedAndStored) {
    const StatusCase& c = GetParam();
    const SymbolPtr handle = SymbolWith(c.scheme, c.size, c.data);
    Symbol& symbol = Internals(handle);
    EXPECT_EQ(EncodeSymbol(symbol), c.status == 0);
    EXPECT_EQ(symbol.status, c.status);
    EXPECT_EQ(symbol.encoded, c.status == 0 ? 1 : 0);
    EXPECT_EQ(symbol.sizeIndex, c.sizeAfter);
}

const std::string kDigits3116(3116, '7');

INSTANTIATE_TEST_SUITE_P(
    EncodePipeline, EncodeStatus,
    ::testing::Values(
        StatusCase{"FixedSizeTooSmall", 0, kSize10x10, "1234567890", 1, kSize10x10},
        StatusCase{"LargestSquareHoldsTheLongestData", 0, -1, kDigits3116, 0, kSize144x144},
        StatusCase{"NoSquareHoldsOneCodewordMore", ECC200_SCHEME_ASCII, -1,
                   std::string(3114, '7') + "aa", 2, -1},
        StatusCase{"EdifactByte", ECC200_SCHEME_EDIFACT, -1, "abc", 4, -1},
        StatusCase{"X12Byte", ECC200_SCHEME_X12, -1, "abc", 6, -1},
        StatusCase{"Base256WithoutData", ECC200_SCHEME_BASE256, -1, "", 17, -1},
        StatusCase{"FiveCodewordsFitEightByEighteen", ECC200_SCHEME_ASCII, kSize8x18, "12345678a",
                   0, kSize8x18},
        StatusCase{"SixCodewordsDoNot", ECC200_SCHEME_ASCII, kSize8x18, "12345678ab", 1, kSize8x18},
        // Ten codewords would fill 8x32 exactly; the automatic size is still square.
        StatusCase{"AutomaticSizeIsSquare", ECC200_SCHEME_ASCII, -1, "1234567890abcde", 0,
                   kSize16x16},
        StatusCase{"FourCodewordsNeedTwelveByTwelve", ECC200_SCHEME_ASCII, -1, "abcd", 0,
                   kSize12x12}),
    CaseName{});

TEST(EncodePipeline, UnplacedMapEntryFailsWithInternalStatus) {
    const SymbolPtr handle = SymbolWith(ECC200_SCHEME_AUTO, kSize10x10, "123456");
    Symbol& symbol = Internals(handle);
    ASSERT_TRUE(EncodeSymbol(symbol));
    for (const PlacementEntry unplaced :
         {PlacementEntry{255, 255}, PlacementEntry{8, 0}, PlacementEntry{0, 8}}) {
        symbol.placementMaps[kSize10x10][13] = unplaced;
        symbol.encoded = 0;
        EXPECT_FALSE(EncodeSymbol(symbol));
        EXPECT_EQ(symbol.status, 18);
        EXPECT_EQ(symbol.encoded, 0);
    }
}

TEST(EncodePipeline, BuildsEachPlacementMapOncePerSymbol) {
    const SymbolPtr handle = SymbolWith(ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, "123456");
    Symbol& symbol = Internals(handle);
    ASSERT_TRUE(EncodeSymbol(symbol));
    const PlacementEntry* map = symbol.placementMaps[kSize10x10];
    ASSERT_NE(map, nullptr);
    ASSERT_EQ(SetData(handle, "654321"), 0);
    ASSERT_TRUE(EncodeSymbol(symbol));
    EXPECT_EQ(symbol.placementMaps[kSize10x10], map);
    for (int32_t i = 1; i < kSizeCount; ++i) EXPECT_EQ(symbol.placementMaps[i], nullptr) << i;
}

TEST(EncodePipeline, RepeatedEncodesGiveTheSameSymbol) {
    const SymbolPtr handle = SymbolWith(ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, "Hello, world");
    Symbol& symbol = Internals(handle);
    ASSERT_TRUE(EncodeSymbol(symbol));
    const std::vector<uint8_t> first = SymbolModules(symbol);
    const int32_t size = symbol.sizeIndex;
    ASSERT_TRUE(EncodeSymbol(symbol));
    EXPECT_EQ(SymbolModules(symbol), first);
    EXPECT_EQ(symbol.sizeIndex, size);
}

class UncoveredCorner : public ::testing::TestWithParam<int32_t> {};

// The four modules no codeword covers get the fixed pattern whatever the matrix held before.
TEST_P(UncoveredCorner, CarriesTheFixedPattern) {
    const int32_t sizeIndex = GetParam();
    for (const uint8_t stale : {uint8_t{0}, uint8_t{1}}) {
        const SymbolPtr handle = SymbolWith(ECC200_SCHEME_ASCII, sizeIndex, "A");
        Symbol& symbol = Internals(handle);
        std::memset(symbol.matrix, stale, sizeof symbol.matrix);
        ASSERT_TRUE(EncodeSymbol(symbol));
        // Mapping (R-1, C-1) is just inside the bottom finder row and the right timing column.
        const int32_t right = symbol.cols - 2;
        EXPECT_EQ(symbol.matrix[1][right], 1);
        EXPECT_EQ(symbol.matrix[1][right - 1], 0);
        EXPECT_EQ(symbol.matrix[2][right], 0);
        EXPECT_EQ(symbol.matrix[2][right - 1], 1);
    }
}

INSTANTIATE_TEST_SUITE_P(EncodePipeline, UncoveredCorner,
                         ::testing::Values(kSize12x12, kSize16x16, kSize20x20, kSize24x24));

// The marks hook into the pipeline; without a readable identity at encode time both are left
// out and the encode still succeeds.
TEST(EncodePipeline, MarksWithoutIdentityLeaveTheSymbolUnmarked) {
    ScratchDirectory directory;
    const SymbolPtr plain = SymbolWith(ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, "Hello, world");
    ASSERT_TRUE(EncodeSymbol(Internals(plain)));

    directory.WriteIdentity(testing::kSampleIdentity);
    const SymbolPtr marked = SymbolWith(ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, "Hello, world");
    ASSERT_EQ(SetSignUser_ECC200(marked.get(), 1), 0);
    ASSERT_EQ(SetSignProduct_ECC200(marked.get(), 1, "P-1"), 0);
    directory.RemoveIdentity();
    ASSERT_TRUE(EncodeSymbol(Internals(marked)));
    EXPECT_EQ(Internals(marked).status, 0);
    EXPECT_EQ(SymbolModules(Internals(marked)), SymbolModules(Internals(plain)));
}

// The product mark changes data modules only: it runs before the patterns are drawn.
TEST(EncodePipeline, ProductMarkNeverTouchesFinderOrTiming) {
    ScratchDirectory directory;
    directory.WriteIdentity(testing::kSampleIdentity);
    const std::string data(40, 'x');
    const SymbolPtr plain = SymbolWith(ECC200_SCHEME_ASCII, 9, data);  // 32x32: four regions
    const SymbolPtr marked = SymbolWith(ECC200_SCHEME_ASCII, 9, data);
    ASSERT_EQ(SetSignProduct_ECC200(marked.get(), 1, "P-1"), 0);
    ASSERT_TRUE(EncodeSymbol(Internals(plain)));
    ASSERT_TRUE(EncodeSymbol(Internals(marked)));
    const Symbol& a = Internals(plain);
    const Symbol& b = Internals(marked);
    for (int32_t r = 0; r < a.rows; ++r) {
        for (int32_t c = 0; c < a.cols; ++c) {
            const bool pattern = r % 16 == 0 || r % 16 == 15 || c % 16 == 0 || c % 16 == 15;
            if (pattern) {
                ASSERT_EQ(a.matrix[r][c], b.matrix[r][c]) << r << ", " << c;
            }
        }
    }
}

}  // namespace
}  // namespace ecc200
