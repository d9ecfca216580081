// The 48 symbol sizes as a client of the public header sees them, indexed by ECC200_SIZE_*:
// rows, columns and data capacity in codewords, taken from the library's size table so that they
// cannot drift from it. Shared by the tool and the benchmark.
#ifndef ECC200_CLI_SIZE_ROWS_H
#define ECC200_CLI_SIZE_ROWS_H

#include <array>
#include <cstddef>

#include "geometry/size_table.h"

namespace ecc200_cli {

struct SizeRow {
    int rows;
    int cols;
    int dataCodewords;
};

inline constexpr std::array<SizeRow, ecc200::SymbolSizeTable.size()> kSizeRows = [] {
    std::array<SizeRow, ecc200::SymbolSizeTable.size()> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ecc200::SymbolSize& size = ecc200::SymbolSizeTable[i];
        rows[i] = {size.symbolRows, size.symbolCols, size.totalDataCodewords};
    }
    return rows;
}();

}  // namespace ecc200_cli

#endif  // ECC200_CLI_SIZE_ROWS_H
