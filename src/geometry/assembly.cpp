// Turning the mapping matrix into the finished symbol: the data regions are moved apart to make
// room for each region's finder and timing patterns (see PatternModule).
#include "geometry/assembly.h"

#include <cstring>

#include "geometry/size_table.h"

namespace ecc200 {
namespace {

// Moves every mapping-matrix row segment of rc modules to its place inside its region. Each
// mapping row i lands on a higher row (SymbolRowOfMappingRow(i) > i), so copying the rows from
// the top down never overwrites a row that is still to be read.
void SpreadMappingMatrix(Symbol& symbol, const SymbolSize& size) {
    const int32_t rc = size.regionCols;
    const int32_t horizontalRegions = HorizontalRegionCount(size);
    for (int32_t i = symbol.mappingRows - 1; i >= 0; --i) {
        uint8_t* target = symbol.matrix[SymbolRowOfMappingRow(size, i)];
        const uint8_t* source = symbol.matrix[i];
        for (int32_t region = 0; region < horizontalRegions; ++region) {
            std::memcpy(target + SymbolColOfMappingCol(size, region * rc), source + region * rc,
                        static_cast<std::size_t>(rc));
        }
    }
}

// Every module of the finder and timing patterns.
void DrawPatterns(Symbol& symbol, const SymbolSize& size) {
    for (int32_t r = 0; r < size.symbolRows; ++r) {
        for (int32_t c = 0; c < size.symbolCols; ++c) {
            const int32_t pattern = PatternModule(size, r, c);
            if (pattern >= 0) symbol.matrix[r][c] = static_cast<uint8_t>(pattern);
        }
    }
}

}  // namespace

bool AssembleSymbol(Symbol& symbol) {
    if (!IsSizeIndex(symbol.sizeIndex)) return false;
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    if (VerticalRegionCount(size) * HorizontalRegionCount(size) != size.regionCount) return false;
    if (symbol.mappingRows != MappingRows(size) || symbol.mappingCols != MappingCols(size)) {
        return false;
    }
    SpreadMappingMatrix(symbol, size);
    DrawPatterns(symbol, size);
    symbol.rows = static_cast<uint8_t>(size.symbolRows);
    symbol.cols = static_cast<uint8_t>(size.symbolCols);
    return true;
}

}  // namespace ecc200
