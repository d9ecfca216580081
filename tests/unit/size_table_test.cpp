// Consistency of the size table and the automatic size choice.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "geometry/size_table.h"

namespace ecc200 {
namespace {

TEST(SizeTable, EveryRowIsConsistent) {
    for (int32_t i = 0; i < 30; ++i) {
        const SymbolSize& s = SizeAt(i);
        const int32_t across = HorizontalRegionCount(s), down = VerticalRegionCount(s);
        SCOPED_TRACE(SizeName(i));
        EXPECT_EQ(SizeName(i), std::to_string(s.symbolRows) + "x" + std::to_string(s.symbolCols));
        EXPECT_EQ(std::tuple(down * (s.regionRows + 2), across * (s.regionCols + 2), down * across,
                             MappingRows(s), MappingCols(s)),
                  std::tuple(s.symbolRows, s.symbolCols, s.regionCount, s.symbolRows - 2 * down,
                             s.symbolCols - 2 * across));
        // Only the four sizes with an uncovered corner leave modules over.
        EXPECT_EQ(ModulesLeftOver(s), i == 1 || i == 3 || i == 5 || i == 7 ? 4 : 0);
        EXPECT_EQ(TotalCodewords(s) * 8 + ModulesLeftOver(s), MappingRows(s) * MappingCols(s));
        // The blocks share the capacity, at most one codeword apart.
        EXPECT_TRUE(ShortBlockCount(s) >= 0 && ShortBlockCount(s) < s.blockCount);
        EXPECT_TRUE(i == 0 || i >= kSquareSizeCount ||
                    SizeAt(i - 1).totalDataCodewords < s.totalDataCodewords);
    }
}

TEST(SizeTable, AutomaticChoiceTakesTheSmallestSquareThatHolds) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 0},  {3, 0},     {4, 1},     {44, 8},
                                                 {45, 9}, {1558, 23}, {1559, -1}, {100000, -1}};
    for (const auto& [n, expected] : cases) EXPECT_EQ(ChooseAutomaticSize(n), expected) << n;
}

}  // namespace
}  // namespace ecc200
