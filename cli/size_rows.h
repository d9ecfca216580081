// The 30 symbol sizes as a client of the public header sees them, indexed by ECC200_SIZE_*:
// rows, columns and data capacity in codewords. Shared by the tool and the benchmark, which use
// nothing but the public API.
#ifndef ECC200_CLI_SIZE_ROWS_H
#define ECC200_CLI_SIZE_ROWS_H

#include <array>

namespace ecc200_cli {

struct SizeRow {
    int rows;
    int cols;
    int dataCodewords;
};

inline constexpr std::array<SizeRow, 30> kSizeRows{{
    {10, 10, 3},     {12, 12, 5},      {14, 14, 8},      {16, 16, 12},     {18, 18, 18},
    {20, 20, 22},    {22, 22, 30},     {24, 24, 36},     {26, 26, 44},     {32, 32, 62},
    {36, 36, 86},    {40, 40, 114},    {44, 44, 144},    {48, 48, 174},    {52, 52, 204},
    {64, 64, 280},   {72, 72, 368},    {80, 80, 456},    {88, 88, 576},    {96, 96, 696},
    {104, 104, 816}, {120, 120, 1050}, {132, 132, 1304}, {144, 144, 1558}, {8, 18, 5},
    {8, 32, 10},     {12, 26, 16},     {12, 36, 22},     {16, 36, 32},     {16, 48, 49},
}};

}  // namespace ecc200_cli

#endif  // ECC200_CLI_SIZE_ROWS_H
