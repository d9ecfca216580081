// The 48 Data Matrix ECC 200 symbol sizes (the 30 of ISO/IEC 16022 and the 18 rectangular
// extension sizes of ISO/IEC 21471, DMRE) and the values derived from them.
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
inline constexpr int32_t kIsoSizeCount = 30;     // rows 0..29; rows 30..47 are the DMRE sizes

// Rows 0..29 in the order of the ECC 200 symbol attribute table, then the DMRE rows in the order
// of their attribute table; the row number is the SizeIndex. Columns: symbol rows, columns; data
// regions, their rows, columns; blocks, data and error-correction codewords per block; data
// codewords in all.
inline constexpr std::array<SymbolSize, 48> SymbolSizeTable = {{
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
    {8, 48, 2, 6, 22, 1, 18, 15, 18},           // 30: 8x48 (DMRE)
    {8, 64, 4, 6, 14, 1, 24, 18, 24},           // 31: 8x64 (DMRE)
    {8, 80, 4, 6, 18, 1, 32, 22, 32},           // 32: 8x80 (DMRE)
    {8, 96, 4, 6, 22, 1, 38, 28, 38},           // 33: 8x96 (DMRE)
    {8, 120, 6, 6, 18, 1, 49, 32, 49},          // 34: 8x120 (DMRE)
    {8, 144, 6, 6, 22, 1, 63, 36, 63},          // 35: 8x144 (DMRE)
    {12, 64, 4, 10, 14, 1, 43, 27, 43},         // 36: 12x64 (DMRE)
    {12, 88, 4, 10, 20, 1, 64, 36, 64},         // 37: 12x88 (DMRE)
    {16, 64, 4, 14, 14, 1, 62, 36, 62},         // 38: 16x64 (DMRE)
    {20, 36, 2, 18, 16, 1, 44, 28, 44},         // 39: 20x36 (DMRE)
    {20, 44, 2, 18, 20, 1, 56, 34, 56},         // 40: 20x44 (DMRE)
    {20, 64, 4, 18, 14, 1, 84, 42, 84},         // 41: 20x64 (DMRE)
    {22, 48, 2, 20, 22, 1, 72, 38, 72},         // 42: 22x48 (DMRE)
    {24, 48, 2, 22, 22, 1, 80, 41, 80},         // 43: 24x48 (DMRE)
    {24, 64, 4, 22, 14, 1, 108, 46, 108},       // 44: 24x64 (DMRE)
    {26, 40, 2, 24, 18, 1, 70, 38, 70},         // 45: 26x40 (DMRE)
    {26, 48, 2, 24, 22, 1, 90, 42, 90},         // 46: 26x48 (DMRE)
    {26, 64, 4, 24, 14, 1, 118, 50, 118},       // 47: 26x64 (DMRE)
}};
// The limits the public header states for the largest size.
static_assert(SymbolSizeTable[23].symbolRows == ECC200_MAX_SIDE &&
              SymbolSizeTable[23].totalDataCodewords == ECC200_MAX_DATA_CODEWORDS);

// Names parallel to the table, "auto" first for SizeIndex -1.
inline constexpr std::array<const char*, SymbolSizeTable.size() + 1> SymbolSizeNames = {
    "auto",  "10x10", "12x12", "14x14",   "16x16",   "18x18",   "20x20",   "22x22", "24x24",
    "26x26", "32x32", "36x36", "40x40",   "44x44",   "48x48",   "52x52",   "64x64", "72x72",
    "80x80", "88x88", "96x96", "104x104", "120x120", "132x132", "144x144", "8x18",  "8x32",
    "12x26", "12x36", "16x36", "16x48",   "8x48",    "8x64",    "8x80",    "8x96",  "8x120",
    "8x144", "12x64", "12x88", "16x64",   "20x36",   "20x44",   "20x64",   "22x48", "24x48",
    "24x64", "26x40", "26x48", "26x64",
};

constexpr bool IsSizeIndex(int32_t sizeIndex) {
    return sizeIndex >= 0 && sizeIndex < static_cast<int32_t>(SymbolSizeTable.size());
}

// The sizes of ISO/IEC 16022 (0..29), the only ones SetDimension_ECC200 accepts.
constexpr bool IsIsoSizeIndex(int32_t sizeIndex) {
    return sizeIndex >= 0 && sizeIndex < kIsoSizeCount;
}

// A rectangular extension (DMRE) size.
constexpr bool IsDmreSizeIndex(int32_t sizeIndex) {
    return IsSizeIndex(sizeIndex) && sizeIndex >= kIsoSizeCount;
}

// The row of a valid SizeIndex (0..47).
constexpr const SymbolSize& SizeAt(int32_t sizeIndex) {
    return SymbolSizeTable[static_cast<std::size_t>(sizeIndex)];
}

// The library's name of a SizeIndex: "auto" for -1, "10x10" ... for 0..47, null otherwise.
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

// The symbol row of mapping-matrix row i, both counted from the bottom (as Symbol::matrix): every
// region band adds its finder row below and its timing row above.
constexpr int32_t SymbolRowOfMappingRow(const SymbolSize& s, int32_t i) {
    return i + 1 + 2 * (i / s.regionRows);
}
// The symbol column of mapping-matrix column j: every region adds its finder column on the left
// and its timing column on the right.
constexpr int32_t SymbolColOfMappingCol(const SymbolSize& s, int32_t j) {
    return j + 1 + 2 * (j / s.regionCols);
}
// The offset into Symbol::matrix (rows from the bottom, stride 144) of the module at row `row`
// (from the bottom) and column `col` of the mapping matrix once the regions are spread apart.
constexpr uint16_t SymbolOffset(const SymbolSize& s, int32_t row, int32_t col) {
    return static_cast<uint16_t>(SymbolRowOfMappingRow(s, row) * ECC200_MAX_SIDE +
                                 SymbolColOfMappingCol(s, col));
}

// Result of a size search that found no size; the same value as kAutomaticSize, kept apart for
// what it means.
inline constexpr int32_t kNoSize = -1;

// The sizes that an automatic size may take, in the order they are tried: by growing capacity.
// Square shape: the 24 square sizes. Any shape: all 30 by area, the square size first on equal
// area, leaving out the rectangles that a size of no larger area outholds (8x18, 8x32, 12x36,
// 16x36); what is left grows in capacity as it grows in area. DMRE shape: the same rule over all
// 48 sizes, the ISO/IEC 16022 rectangles before the DMRE ones on equal area.
inline constexpr std::array<int32_t, 24> kSquareSizeOrder = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
inline constexpr std::array<int32_t, 26> kAnyShapeSizeOrder = {
    0, 1, 2, 3, 26, 4, 5, 6, 7, 8, 29, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

namespace detail {

// Whether size a is tried before size b: smaller area first; on equal area squares, then the
// ISO/IEC 16022 rectangles, then the DMRE sizes, each in table order.
constexpr bool TriedBefore(int32_t a, int32_t b) {
    const auto area = [](int32_t i) { return SizeAt(i).symbolRows * SizeAt(i).symbolCols; };
    const auto kind = [](int32_t i) {
        return i < kSquareSizeCount ? 0 : i < kIsoSizeCount ? 1 : 2;
    };
    if (area(a) != area(b)) return area(a) < area(b);
    if (kind(a) != kind(b)) return kind(a) < kind(b);
    return a < b;
}

// The first `count` sizes by TriedBefore, keeping only those that hold more than every size
// tried before them; the result's `kept` leading entries are the order.
template <std::size_t N>
struct AreaOrder {
    std::array<int32_t, N> sizes{};
    int32_t kept = 0;
};

template <std::size_t N>
constexpr AreaOrder<N> BuildAreaOrder() {
    std::array<int32_t, N> sorted{};
    for (std::size_t i = 0; i < N; ++i) sorted[i] = static_cast<int32_t>(i);
    for (std::size_t i = 1; i < N; ++i) {  // insertion sort: std::sort is not constexpr in C++20
        for (std::size_t j = i; j > 0 && TriedBefore(sorted[j], sorted[j - 1]); --j) {
            const int32_t t = sorted[j];
            sorted[j] = sorted[j - 1];
            sorted[j - 1] = t;
        }
    }
    AreaOrder<N> order;
    int32_t largest = 0;
    for (const int32_t size : sorted) {
        if (SizeAt(size).totalDataCodewords <= largest) continue;
        largest = SizeAt(size).totalDataCodewords;
        order.sizes[static_cast<std::size_t>(order.kept++)] = size;
    }
    return order;
}

inline constexpr auto kIsoAreaOrder = BuildAreaOrder<kIsoSizeCount>();
inline constexpr auto kDmreAreaOrder = BuildAreaOrder<SymbolSizeTable.size()>();

constexpr bool SameOrder(const int32_t* a, int32_t count, const int32_t* b, int32_t countB) {
    if (count != countB) return false;
    for (int32_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

}  // namespace detail

// The written-out order of the any shape is the rule's order over the 30 ISO/IEC 16022 sizes.
static_assert(detail::SameOrder(kAnyShapeSizeOrder.data(),
                                static_cast<int32_t>(kAnyShapeSizeOrder.size()),
                                detail::kIsoAreaOrder.sizes.data(), detail::kIsoAreaOrder.kept));

struct SizeOrder {
    const int32_t* sizes;
    int32_t count;
};

// The automatic order for a shape option (ECC200_SHAPE_ANY = 1, ECC200_SHAPE_DMRE = 2, anything
// else square).
constexpr SizeOrder AutomaticSizeOrder(int32_t shape) {
    if (shape == 1)
        return {kAnyShapeSizeOrder.data(), static_cast<int32_t>(kAnyShapeSizeOrder.size())};
    if (shape == 2) return {detail::kDmreAreaOrder.sizes.data(), detail::kDmreAreaOrder.kept};
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
