// Consistency of the size table and the automatic size choice.
#include <gtest/gtest.h>

#include <string>

#include "geometry/size_table.h"

namespace ecc200 {
namespace {

TEST(SizeTable, EveryRowIsGeometricallyConsistent) {
    for (int32_t i = 0; i < 30; ++i) {
        const SymbolSize& s = SizeAt(i);
        SCOPED_TRACE(SizeName(i));
        EXPECT_EQ(std::string(SizeName(i)),
                  std::to_string(s.symbolRows) + "x" + std::to_string(s.symbolCols));
        EXPECT_EQ(s.symbolRows % (s.regionRows + 2), 0);
        EXPECT_EQ(s.symbolCols % (s.regionCols + 2), 0);
        EXPECT_EQ(VerticalRegionCount(s) * HorizontalRegionCount(s), s.regionCount);
        EXPECT_EQ(MappingRows(s) * MappingCols(s), s.regionCount * s.regionRows * s.regionCols);
        EXPECT_EQ(TotalCodewords(s) * 8 + ModulesLeftOver(s), MappingRows(s) * MappingCols(s));
        const int32_t blocksHold = s.blockCount * s.blockDataCodewords;
        EXPECT_EQ(blocksHold - (i == 23 ? 2 : 0), s.totalDataCodewords);
    }
}

TEST(SizeTable, SquareCapacitiesGrowStrictly) {
    for (int32_t i = 1; i < kSquareSizeCount; ++i) {
        EXPECT_LT(SizeAt(i - 1).totalDataCodewords, SizeAt(i).totalDataCodewords);
    }
    EXPECT_EQ(SizeAt(kSquareSizeCount - 1).totalDataCodewords, kLargestCapacity);
}

TEST(SizeTable, LeftOverModulesOnlyInTheFourSizesWithAnUncoveredCorner) {
    for (int32_t i = 0; i < 30; ++i) {
        const bool uncovered = i == 1 || i == 3 || i == 5 || i == 7;
        EXPECT_EQ(ModulesLeftOver(SizeAt(i)), uncovered ? 4 : 0) << SizeName(i);
    }
}

struct MappingCase {
    int32_t size;
    int32_t rows;
    int32_t cols;
};

TEST(SizeTable, MappingMatrixDimensions) {
    for (const MappingCase c : {MappingCase{0, 8, 8},
                                {9, 28, 28},
                                {23, 132, 132},
                                {25, 6, 28},
                                {29, 14, 44},
                                {24, 6, 16}}) {
        EXPECT_EQ(MappingRows(SizeAt(c.size)), c.rows) << SizeName(c.size);
        EXPECT_EQ(MappingCols(SizeAt(c.size)), c.cols) << SizeName(c.size);
    }
}

TEST(SizeTable, AutomaticChoiceTakesTheSmallestSquareThatHolds) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 0},     {1, 0},     {3, 0},      {4, 1},
                                                 {5, 1},     {10, 3},    {44, 8},     {45, 9},
                                                 {1558, 23}, {1559, -1}, {100000, -1}};
    for (const auto& [n, expected] : cases) EXPECT_EQ(ChooseAutomaticSize(n), expected) << n;
}

TEST(SizeTable, NamesCoverAutoAndRejectOutOfRange) {
    EXPECT_STREQ(SizeName(-1), "auto");
    EXPECT_STREQ(SizeName(24), "8x18");
    EXPECT_STREQ(SizeName(29), "16x48");
    EXPECT_EQ(SizeName(30), nullptr);
    EXPECT_EQ(SizeName(-2), nullptr);
}

}  // namespace
}  // namespace ecc200
