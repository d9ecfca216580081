#include "geometry/assembly.h"

#include <gtest/gtest.h>

#include <string>

#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::Internals;
using testing::MakeSymbol;
using testing::SymbolPtr;

// A mapping-matrix value that differs between neighbours in both directions and between regions.
uint8_t Pattern(int32_t i, int32_t j) {
    return static_cast<uint8_t>(((i * 7 + j * 3 + (i / 5) * (j / 3)) % 5) < 2);
}

void LoadMappingMatrix(Symbol& symbol, int32_t sizeIndex) {
    const SymbolSize& size = SizeAt(sizeIndex);
    symbol.sizeIndex = sizeIndex;
    symbol.mappingRows = MappingRows(size);
    symbol.mappingCols = MappingCols(size);
    for (int32_t i = 0; i < symbol.mappingRows; ++i) {
        for (int32_t j = 0; j < symbol.mappingCols; ++j) symbol.matrix[i][j] = Pattern(i, j);
    }
}

struct SizeParamName {
    std::string operator()(const ::testing::TestParamInfo<int32_t>& param) const {
        return std::string("Size") + SizeName(param.param);
    }
};

class AssemblyEverySize : public ::testing::TestWithParam<int32_t> {};

TEST_P(AssemblyEverySize, SpreadsTheRegionsAndDrawsTheirPatterns) {
    const int32_t sizeIndex = GetParam();
    const SymbolSize& size = SizeAt(sizeIndex);
    const int32_t rr = size.regionRows;
    const int32_t rc = size.regionCols;
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    LoadMappingMatrix(symbol, sizeIndex);
    ASSERT_TRUE(AssembleSymbol(symbol));
    EXPECT_EQ(symbol.rows, size.symbolRows);
    EXPECT_EQ(symbol.cols, size.symbolCols);

    for (int32_t i = 0; i < symbol.mappingRows; ++i) {
        for (int32_t j = 0; j < symbol.mappingCols; ++j) {
            ASSERT_EQ(symbol.matrix[i + 1 + 2 * (i / rr)][j + 1 + 2 * (j / rc)], Pattern(i, j))
                << "mapping cell " << i << ", " << j;
        }
    }
    for (int32_t band = 0; band < VerticalRegionCount(size); ++band) {
        for (int32_t c = 0; c < size.symbolCols; ++c) {
            ASSERT_EQ(symbol.matrix[band * (rr + 2)][c], 1) << "finder row, column " << c;
            ASSERT_EQ(symbol.matrix[band * (rr + 2) + rr + 1][c], c % 2 == 0 ? 1 : 0)
                << "timing row, column " << c;
        }
    }
    for (int32_t band = 0; band < HorizontalRegionCount(size); ++band) {
        for (int32_t r = 0; r < size.symbolRows; ++r) {
            ASSERT_EQ(symbol.matrix[r][band * (rc + 2)], 1) << "finder column, row " << r;
            ASSERT_EQ(symbol.matrix[r][band * (rc + 2) + rc + 1], r % 2 == 0 ? 1 : 0)
                << "timing column, row " << r;
        }
    }
    // Outer corners: only the top right one is light.
    const int32_t top = size.symbolRows - 1;
    const int32_t right = size.symbolCols - 1;
    EXPECT_EQ(symbol.matrix[0][0], 1);
    EXPECT_EQ(symbol.matrix[0][right], 1);
    EXPECT_EQ(symbol.matrix[top][0], 1);
    EXPECT_EQ(symbol.matrix[top][right], 0);
}

INSTANTIATE_TEST_SUITE_P(Assembly, AssemblyEverySize, ::testing::Range(0, kSizeCount),
                         SizeParamName{});

struct LandingCase {
    std::string name;
    int32_t sizeIndex;
    int32_t mappingRow, mappingCol;  // from the bottom left of the mapping matrix
    int32_t symbolRow, symbolCol;
};

class MappingCellLanding : public ::testing::TestWithParam<LandingCase> {};

// One dark mapping cell in an otherwise light matrix changes exactly one module of the symbol.
TEST_P(MappingCellLanding, EndsUpInsideItsRegion) {
    const LandingCase& c = GetParam();
    const SymbolPtr blankHandle = MakeSymbol();
    const SymbolPtr markedHandle = MakeSymbol();
    Symbol& blank = Internals(blankHandle);
    Symbol& marked = Internals(markedHandle);
    for (Symbol* symbol : {&blank, &marked}) {
        LoadMappingMatrix(*symbol, c.sizeIndex);
        for (int32_t i = 0; i < symbol->mappingRows; ++i) {
            for (int32_t j = 0; j < symbol->mappingCols; ++j) symbol->matrix[i][j] = 0;
        }
    }
    marked.matrix[c.mappingRow][c.mappingCol] = 1;
    ASSERT_TRUE(AssembleSymbol(blank));
    ASSERT_TRUE(AssembleSymbol(marked));
    for (int32_t r = 0; r < blank.rows; ++r) {
        for (int32_t col = 0; col < blank.cols; ++col) {
            const bool target = r == c.symbolRow && col == c.symbolCol;
            EXPECT_EQ(marked.matrix[r][col], target ? 1 : blank.matrix[r][col]) << r << ", " << col;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Assembly, MappingCellLanding,
                         ::testing::Values(LandingCase{"TenByTen", 0, 0, 0, 1, 1},
                                           LandingCase{"TenByTenTopRight", 0, 7, 7, 8, 8},
                                           LandingCase{"SecondRegionOf32x32", 9, 14, 14, 17, 17},
                                           LandingCase{"SecondRegionOf8x32", 25, 5, 14, 6, 17},
                                           LandingCase{"LastCellOf144x144", 23, 131, 131, 142,
                                                       142}),
                         CaseName{});

TEST(Assembly, LeavesCellsOutsideTheSymbolAlone) {
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    symbol.matrix[10][0] = 7;
    symbol.matrix[0][18] = 7;
    LoadMappingMatrix(symbol, 24);  // 8x18
    ASSERT_TRUE(AssembleSymbol(symbol));
    EXPECT_EQ(symbol.matrix[10][0], 7);
    EXPECT_EQ(symbol.matrix[0][18], 7);
}

TEST(Assembly, RefusesAMappingMatrixOfAnotherSize) {
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    LoadMappingMatrix(symbol, 0);
    symbol.sizeIndex = 1;
    EXPECT_FALSE(AssembleSymbol(symbol));
    EXPECT_EQ(symbol.rows, 0);
    symbol.sizeIndex = kAutomaticSize;
    EXPECT_FALSE(AssembleSymbol(symbol));
}

}  // namespace
}  // namespace ecc200
