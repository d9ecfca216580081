// The 30 Data Matrix ECC 200 sizes in the order of the ECC200_SIZE_* constants.
#ifndef ECC200_BENCH_SYMBOL_SIZES_H
#define ECC200_BENCH_SYMBOL_SIZES_H

#include <array>
#include <string>

namespace bench {

struct SymbolSize {
    int rows;
    int cols;
    int dataCodewords;
};

inline constexpr std::array<SymbolSize, 30> kSymbolSizes{{
    {10, 10, 3},     {12, 12, 5},      {14, 14, 8},      {16, 16, 12},     {18, 18, 18},
    {20, 20, 22},    {22, 22, 30},     {24, 24, 36},     {26, 26, 44},     {32, 32, 62},
    {36, 36, 86},    {40, 40, 114},    {44, 44, 144},    {48, 48, 174},    {52, 52, 204},
    {64, 64, 280},   {72, 72, 368},    {80, 80, 456},    {88, 88, 576},    {96, 96, 696},
    {104, 104, 816}, {120, 120, 1050}, {132, 132, 1304}, {144, 144, 1558}, {8, 18, 5},
    {8, 32, 10},     {12, 26, 16},     {12, 36, 22},     {16, 36, 32},     {16, 48, 49},
}};

inline constexpr int kLargestSquare = 23;

inline std::string SizeName(int rows, int cols) {
    return std::to_string(rows) + "x" + std::to_string(cols);
}

}  // namespace bench

#endif
