// The 48 Data Matrix ECC 200 sizes (DMRE included) in the order of the ECC200_SIZE_* constants.
#ifndef ECC200_BENCH_SYMBOL_SIZES_H
#define ECC200_BENCH_SYMBOL_SIZES_H

#include <array>
#include <string>

#include "size_rows.h"

namespace bench {

// The size rows shared with the command-line tool.
using SymbolSize = ecc200_cli::SizeRow;
inline constexpr const auto& kSymbolSizes = ecc200_cli::kSizeRows;

inline constexpr int kLargestSquare = 23;

inline std::string SizeName(int rows, int cols) {
    return std::to_string(rows) + "x" + std::to_string(cols);
}

}  // namespace bench

#endif
