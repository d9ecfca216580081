// The 30 ECC 200 symbol sizes and the values derived from them.
#pragma once

#include <array>
#include <cstdint>

#include "ecc200.h"

namespace ecc200 {

struct SymbolSize {
    int32_t symbolRows;
    int32_t symbolCols;
    int32_t regionCount;
    int32_t regionRows;
    int32_t regionCols;
    int32_t blockCount;
    int32_t blockDataCodewords;
    int32_t blockEccCodewords;
    int32_t totalDataCodewords;
};

inline constexpr int32_t kAutomaticSize = -1;
inline constexpr int32_t kSquareSizeCount = 24;  // rows 0..23; rows 24..29 are rectangles

// Rows in the order of the ECC 200 symbol attribute table; the row number is the SizeIndex.
// Columns: symbol rows, columns; data regions, their rows, columns; blocks, data and error-
// correction codewords per block; data codewords in all.
inline constexpr std::array<SymbolSize, 30> SymbolSizeTable = {{
    {10, 10, 1, 8, 8, 1, 3, 5, 3},              // 0: 10x10
    {12, 12, 1, 10, 10, 1, 5, 7, 5},            // 1: 12x12
    {14, 14, 1, 12, 12, 1, 8, 10, 8},           // 2: 14x14
    {16, 16, 1, 14, 14, 1, 12, 12, 12},         // 3: 16x16
    {18, 18, 1, 16, 16, 1, 18, 14, 18},         // 4: 18x18
    {20, 20, 1, 18, 18, 1, 22, 18, 22},         // 5: 20x20
    {22, 22, 1, 20, 20, 1, 30, 20, 30},         // 6: 22x22
    {24, 24, 1, 22, 22, 1, 36, 24, 36},         // 7: 24x24
    {26, 26, 1, 24, 24, 1, 44, 28, 44},         // 8: 26x26
    {32, 32, 4, 14, 14, 1, 62, 36, 62},         // 9: 32x32
    {36, 36, 4, 16, 16, 1, 86, 42, 86},         // 10: 36x36
    {40, 40, 4, 18, 18, 1, 114, 48, 114},       // 11: 40x40
    {44, 44, 4, 20, 20, 1, 144, 56, 144},       // 12: 44x44
    {48, 48, 4, 22, 22, 1, 174, 68, 174},       // 13: 48x48
    {52, 52, 4, 24, 24, 2, 102, 42, 204},       // 14: 52x52
    {64, 64, 16, 14, 14, 2, 140, 56, 280},      // 15: 64x64
    {72, 72, 16, 16, 16, 4, 92, 36, 368},       // 16: 72x72
    {80, 80, 16, 18, 18, 4, 114, 48, 456},      // 17: 80x80
    {88, 88, 16, 20, 20, 4, 144, 56, 576},      // 18: 88x88
    {96, 96, 16, 22, 22, 4, 174, 68, 696},      // 19: 96x96
    {104, 104, 16, 24, 24, 6, 136, 56, 816},    // 20: 104x104
    {120, 120, 36, 18, 18, 6, 175, 68, 1050},   // 21: 120x120
    {132, 132, 36, 20, 20, 8, 163, 62, 1304},   // 22: 132x132
    {144, 144, 36, 22, 22, 10, 156, 62, 1558},  // 23: 144x144
    {8, 18, 1, 6, 16, 1, 5, 7, 5},              // 24: 8x18
    {8, 32, 2, 6, 14, 1, 10, 11, 10},           // 25: 8x32
    {12, 26, 1, 10, 24, 1, 16, 14, 16},         // 26: 12x26
    {12, 36, 2, 10, 16, 1, 22, 18, 22},         // 27: 12x36
    {16, 36, 2, 14, 16, 1, 32, 24, 32},         // 28: 16x36
    {16, 48, 2, 14, 22, 1, 49, 28, 49},         // 29: 16x48
}};
// The limits the public header states for the largest size.
static_assert(SymbolSizeTable[23].symbolRows == ECC200_MAX_SIDE &&
              SymbolSizeTable[23].totalDataCodewords == ECC200_MAX_DATA_CODEWORDS);

// Names parallel to the table, "auto" first for SizeIndex -1.
inline constexpr std::array<const char*, 31> SymbolSizeNames = {
    "auto",    "10x10", "12x12", "14x14", "16x16", "18x18",   "20x20",   "22x22",
    "24x24",   "26x26", "32x32", "36x36", "40x40", "44x44",   "48x48",   "52x52",
    "64x64",   "72x72", "80x80", "88x88", "96x96", "104x104", "120x120", "132x132",
    "144x144", "8x18",  "8x32",  "12x26", "12x36", "16x36",   "16x48",
};

constexpr bool IsSizeIndex(int32_t sizeIndex) {
    return sizeIndex >= 0 && sizeIndex < static_cast<int32_t>(SymbolSizeTable.size());
}

// The row of a valid SizeIndex (0..29).
constexpr const SymbolSize& SizeAt(int32_t sizeIndex) {
    return SymbolSizeTable[static_cast<std::size_t>(sizeIndex)];
}

// The library's name of a SizeIndex: "auto" for -1, "10x10" ... for 0..29, null otherwise.
constexpr const char* SizeName(int32_t sizeIndex) {
    if (sizeIndex < kAutomaticSize || sizeIndex >= static_cast<int32_t>(SymbolSizeTable.size())) {
        return nullptr;
    }
    return SymbolSizeNames[static_cast<std::size_t>(sizeIndex + 1)];
}

constexpr int32_t VerticalRegionCount(const SymbolSize& s) {
    return s.symbolRows / (s.regionRows + 2);
}
constexpr int32_t HorizontalRegionCount(const SymbolSize& s) {
    return s.symbolCols / (s.regionCols + 2);
}
// Rows and columns of the mapping matrix: the data area without finder and timing patterns.
constexpr int32_t MappingRows(const SymbolSize& s) {
    return VerticalRegionCount(s) * s.regionRows;
}
constexpr int32_t MappingCols(const SymbolSize& s) {
    return HorizontalRegionCount(s) * s.regionCols;
}
// Data and error-correction codewords together.
constexpr int32_t TotalCodewords(const SymbolSize& s) {
    return s.totalDataCodewords + s.blockCount * s.blockEccCodewords;
}
// Blocks that hold one data codeword less than the row's blockDataCodewords: the last ones of a
// size whose blocks share a capacity that does not divide evenly (only 144x144: two of ten).
constexpr int32_t ShortBlockCount(const SymbolSize& s) {
    return s.blockCount * s.blockDataCodewords - s.totalDataCodewords;
}
// Data codewords of block `block` (0-based) of a size.
constexpr int32_t BlockDataCodewords(const SymbolSize& s, int32_t block) {
    return block < s.blockCount - ShortBlockCount(s) ? s.blockDataCodewords
                                                     : s.blockDataCodewords - 1;
}
// Mapping-matrix modules that no codeword covers (4 for 12x12, 16x16, 20x20, 24x24; else 0).
constexpr int32_t ModulesLeftOver(const SymbolSize& s) {
    return (MappingRows(s) * MappingCols(s)) % 8;
}

// The offset into Symbol::matrix (rows from the bottom, stride 144) of the module at row `row`
// (from the bottom) and column `col` of the mapping matrix once the regions are spread apart:
// every region is framed by a finder row and column and a timing row and column.
constexpr uint16_t SymbolOffset(const SymbolSize& s, int32_t row, int32_t col) {
    const int32_t symbolRow = row + 1 + 2 * (row / s.regionRows);
    const int32_t symbolCol = col / s.regionCols * (s.regionCols + 2) + 1 + col % s.regionCols;
    return static_cast<uint16_t>(symbolRow * ECC200_MAX_SIDE + symbolCol);
}

// Result of a size search that found no size; the same value as kAutomaticSize, kept apart for
// what it means.
inline constexpr int32_t kNoSize = -1;

// The sizes that an automatic size may take, in the order they are tried: by growing capacity.
// Square shape: the 24 square sizes. Any shape: all 30 by area, the square size first on equal
// area, leaving out the rectangles that a size of no larger area outholds (8x18, 8x32, 12x36,
// 16x36); what is left grows in capacity as it grows in area.
inline constexpr std::array<int32_t, 24> kSquareSizeOrder = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
inline constexpr std::array<int32_t, 26> kAnyShapeSizeOrder = {
    0, 1, 2, 3, 26, 4, 5, 6, 7, 8, 29, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

struct SizeOrder {
    const int32_t* sizes;
    int32_t count;
};

// The automatic order for a shape option (ECC200_SHAPE_ANY = 1, anything else square).
constexpr SizeOrder AutomaticSizeOrder(int32_t shape) {
    if (shape == 1)
        return {kAnyShapeSizeOrder.data(), static_cast<int32_t>(kAnyShapeSizeOrder.size())};
    return {kSquareSizeOrder.data(), static_cast<int32_t>(kSquareSizeOrder.size())};
}

// The first size of the automatic order holding n data codewords, or kNoSize when none does.
constexpr int32_t ChooseAutomaticSize(int32_t n, int32_t shape = 0) {
    const SizeOrder order = AutomaticSizeOrder(shape);
    for (int32_t k = 0; k < order.count; ++k) {
        if (SizeAt(order.sizes[k]).totalDataCodewords >= n) return order.sizes[k];
    }
    return kNoSize;
}

// The capacity of the size that would hold n data codewords: the fixed size's capacity, or for
// automatic size that of the first size of the automatic order holding n; -1 when there is none.
constexpr int32_t CapacityFor(int32_t sizeIndex, int32_t n, int32_t shape = 0) {
    if (sizeIndex != kAutomaticSize) return SizeAt(sizeIndex).totalDataCodewords;
    const int32_t chosen = ChooseAutomaticSize(n, shape);
    return chosen == kNoSize ? -1 : SizeAt(chosen).totalDataCodewords;
}

}  // namespace ecc200
