#include "geometry/placement_map.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::Internals;
using testing::MakeSymbol;
using testing::SymbolPtr;

using Position = std::pair<int, int>;

constexpr int32_t kSize10x10 = 0;
constexpr int32_t kSize12x12 = 1;
constexpr int32_t kSize14x14 = 2;
constexpr int32_t kSize16x16 = 3;
constexpr int32_t kSize20x20 = 5;
constexpr int32_t kSize22x22 = 6;
constexpr int32_t kSize24x24 = 7;
constexpr int32_t kSize32x32 = 9;
constexpr int32_t kSize40x40 = 11;
constexpr int32_t kSize48x48 = 13;
constexpr int32_t kSize120x120 = 21;
constexpr int32_t kSize144x144 = 23;
constexpr int32_t kSize8x18 = 24;
constexpr int32_t kSize8x32 = 25;
constexpr int32_t kSize16x36 = 28;
constexpr int32_t kSize16x48 = 29;

const PlacementEntry* MapOf(Symbol& symbol, int32_t sizeIndex) {
    BuildPlacementMap(symbol, sizeIndex);
    return symbol.placementMaps[sizeIndex];
}

std::vector<Position> CodewordPositions(const PlacementEntry* map, int32_t codeword) {
    std::vector<Position> positions;
    for (int32_t bit = 0; bit < 8; ++bit) {
        const PlacementEntry entry = map[8 * codeword + bit];
        positions.emplace_back(entry.row, entry.col);
    }
    return positions;
}

struct PositionCase {
    std::string name;
    int32_t sizeIndex;
    int32_t codeword;
    std::vector<Position> positions;  // bit 0 (most significant) first, row 0 at the top
};

class CodewordPlacement : public ::testing::TestWithParam<PositionCase> {};

TEST_P(CodewordPlacement, PutsTheBitsAtTheseModules) {
    const SymbolPtr handle = MakeSymbol();
    const PlacementEntry* map = MapOf(Internals(handle), GetParam().sizeIndex);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(CodewordPositions(map, GetParam().codeword), GetParam().positions);
}

// The R x C positions of corner shape 1..4.
std::vector<Position> CornerShape(int shape, int r, int c) {
    switch (shape) {
        case 1:
            return {{r - 1, 0}, {r - 1, 1}, {r - 1, 2}, {0, c - 2},
                    {0, c - 1}, {1, c - 1}, {2, c - 1}, {3, c - 1}};
        case 2:
            return {{r - 3, 0}, {r - 2, 0}, {r - 1, 0}, {0, c - 4},
                    {0, c - 3}, {0, c - 2}, {0, c - 1}, {1, c - 1}};
        case 3:
            return {{r - 3, 0}, {r - 2, 0}, {r - 1, 0}, {0, c - 2},
                    {0, c - 1}, {1, c - 1}, {2, c - 1}, {3, c - 1}};
        default:
            return {{r - 1, 0}, {r - 1, c - 1}, {0, c - 3}, {0, c - 2},
                    {0, c - 1}, {1, c - 3},     {1, c - 2}, {1, c - 1}};
    }
}

PositionCase Corner(int32_t sizeIndex, int shape, int32_t codeword) {
    const SymbolSize& size = SizeAt(sizeIndex);
    return {std::string("Size") + SizeName(sizeIndex) + "Shape" + std::to_string(shape), sizeIndex,
            codeword, CornerShape(shape, MappingRows(size), MappingCols(size))};
}

INSTANTIATE_TEST_SUITE_P(
    Placement, CodewordPlacement,
    ::testing::Values(
        PositionCase{"TenByTenFirstCodeword",
                     kSize10x10,
                     0,
                     {{2, 6}, {2, 7}, {3, 6}, {3, 7}, {3, 0}, {4, 6}, {4, 7}, {4, 0}}},
        PositionCase{"TenByTenSecondCodeword",
                     kSize10x10,
                     1,
                     {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}}},
        PositionCase{"TenByTenLastCodeword",
                     kSize10x10,
                     7,
                     {{4, 4}, {4, 5}, {5, 4}, {5, 5}, {5, 6}, {6, 4}, {6, 5}, {6, 6}}},
        // The wrap to the right edge moves two rows up in a 10 x 10 mapping matrix.
        PositionCase{"TwelveByTwelveWrappedFirstCodeword",
                     kSize12x12,
                     0,
                     {{0, 8}, {0, 9}, {1, 8}, {1, 9}, {3, 0}, {2, 8}, {2, 9}, {4, 0}}},
        PositionCase{"FourteenByFourteenCorner",
                     kSize14x14,
                     7,
                     {{11, 0}, {11, 1}, {11, 2}, {0, 10}, {0, 11}, {1, 11}, {2, 11}, {3, 11}}},
        PositionCase{"EightByEighteenCorner",
                     kSize8x18,
                     6,
                     {{5, 0}, {5, 15}, {0, 13}, {0, 14}, {0, 15}, {1, 13}, {1, 14}, {1, 15}}},
        PositionCase{"EightByThirtyTwoStartsWithCorner",
                     kSize8x32,
                     0,
                     {{3, 0}, {4, 0}, {5, 0}, {0, 26}, {0, 27}, {1, 27}, {2, 27}, {3, 27}}}),
    CaseName{});

INSTANTIATE_TEST_SUITE_P(CornerShapes, CodewordPlacement,
                         ::testing::Values(Corner(kSize14x14, 1, 7), Corner(kSize16x16, 2, 7),
                                           Corner(kSize22x22, 1, 22), Corner(kSize24x24, 2, 22),
                                           Corner(kSize32x32, 1, 45), Corner(kSize40x40, 1, 76),
                                           Corner(kSize48x48, 1, 115), Corner(kSize120x120, 1, 715),
                                           Corner(kSize144x144, 1, 1072), Corner(kSize8x18, 4, 6),
                                           Corner(kSize8x32, 3, 0), Corner(kSize16x36, 4, 21),
                                           Corner(kSize16x48, 3, 7)),
                         CaseName{});

struct SizeParamName {
    std::string operator()(const ::testing::TestParamInfo<int32_t>& param) const {
        return std::string("Size") + SizeName(param.param);
    }
};

class PlacementEverySize : public ::testing::TestWithParam<int32_t> {};

bool IsUncoveredCorner(int32_t sizeIndex, int row, int col) {
    const SymbolSize& size = SizeAt(sizeIndex);
    if (ModulesLeftOver(size) == 0) return false;
    return row >= MappingRows(size) - 2 && col >= MappingCols(size) - 2;
}

TEST_P(PlacementEverySize, CoversEveryModuleExactlyOnce) {
    const int32_t sizeIndex = GetParam();
    const SymbolSize& size = SizeAt(sizeIndex);
    const int32_t rows = MappingRows(size);
    const int32_t cols = MappingCols(size);
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    const int32_t entryCount = BuildPlacementMap(symbol, sizeIndex);
    ASSERT_EQ(entryCount, 8 * TotalCodewords(size));
    EXPECT_EQ(symbol.mappingRows, rows);
    EXPECT_EQ(symbol.mappingCols, cols);
    EXPECT_EQ(symbol.mapInProgress, nullptr);
    const PlacementEntry* map = symbol.placementMaps[sizeIndex];
    ASSERT_NE(map, nullptr);

    std::vector<int> uses(static_cast<std::size_t>(rows * cols), 0);
    for (int32_t i = 0; i < entryCount; ++i) {
        ASSERT_LT(map[i].row, rows) << "entry " << i;
        ASSERT_LT(map[i].col, cols) << "entry " << i;
        ++uses[static_cast<std::size_t>(map[i].row * cols + map[i].col)];
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int expected = IsUncoveredCorner(sizeIndex, r, c) ? 0 : 1;
            ASSERT_EQ(uses[static_cast<std::size_t>(r * cols + c)], expected) << r << ", " << c;
        }
    }
}

TEST_P(PlacementEverySize, CachedMapIsReturnedUntouched) {
    const int32_t sizeIndex = GetParam();
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    const int32_t entryCount = BuildPlacementMap(symbol, sizeIndex);
    const PlacementEntry* first = symbol.placementMaps[sizeIndex];
    symbol.mappingRows = 3;
    symbol.mappingCols = 4;
    EXPECT_EQ(BuildPlacementMap(symbol, sizeIndex), entryCount);
    EXPECT_EQ(symbol.placementMaps[sizeIndex], first);
    EXPECT_EQ(symbol.mappingRows, 3);
    EXPECT_EQ(symbol.mappingCols, 4);
}

INSTANTIATE_TEST_SUITE_P(Placement, PlacementEverySize, ::testing::Range(0, kSizeCount),
                         SizeParamName{});

TEST(Placement, SizesOutsideTheTableBuildNothing) {
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    EXPECT_EQ(BuildPlacementMap(symbol, kAutomaticSize), 0);
    EXPECT_EQ(BuildPlacementMap(symbol, kSizeCount), 0);
    for (const PlacementEntry* map : symbol.placementMaps) EXPECT_EQ(map, nullptr);
    EXPECT_EQ(symbol.mappingRows, 0);
}

TEST(Placement, UncoveredCornerSizesAreExactlyTheFour) {
    std::vector<int32_t> sizes;
    for (int32_t i = 0; i < kSizeCount; ++i) {
        if (ModulesLeftOver(SizeAt(i)) != 0) sizes.push_back(i);
    }
    EXPECT_EQ(sizes, (std::vector<int32_t>{kSize12x12, kSize16x16, kSize20x20, kSize24x24}));
}

}  // namespace
}  // namespace ecc200
