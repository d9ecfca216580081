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
    uint8_t* const modules = &symbol.matrix[0][0];
    for (int32_t i = symbol.mappingRows - 1; i >= 0; --i) {
        const uint8_t* source = symbol.matrix[i];
        for (int32_t region = 0; region < horizontalRegions; ++region) {
            std::memcpy(modules + SymbolOffset(size, i, region * rc), source + region * rc,
                        static_cast<std::size_t>(rc));
        }
    }
}

// Every region band's solid finder row at its bottom and alternating timing row at its top,
// dark at column 0. The size is read into locals first: the module stores could alias it for all
// the compiler knows, and it would reload it after every store.
void DrawHorizontalPatterns(Symbol& symbol, const SymbolSize& size) {
    const int32_t bandHeight = size.regionRows + 2;
    const int32_t bands = VerticalRegionCount(size);
    const int32_t cols = size.symbolCols;
    for (int32_t band = 0; band < bands; ++band) {
        uint8_t* finder = symbol.matrix[band * bandHeight];
        uint8_t* timing = symbol.matrix[band * bandHeight + bandHeight - 1];
        for (int32_t c = 0; c < cols; ++c) {
            finder[c] = 1;
            timing[c] = static_cast<uint8_t>((c & 1) == 0);
        }
    }
}

// Every region band's solid finder column at its left and alternating timing column at its
// right, dark at row 0.
void DrawVerticalPatterns(Symbol& symbol, const SymbolSize& size) {
    const int32_t bandWidth = size.regionCols + 2;
    const int32_t bands = HorizontalRegionCount(size);
    const int32_t rows = size.symbolRows;
    for (int32_t band = 0; band < bands; ++band) {
        uint8_t* finder = &symbol.matrix[0][band * bandWidth];
        uint8_t* timing = finder + bandWidth - 1;
        for (int32_t r = 0; r < rows; ++r) {
            finder[r * kMatrixSide] = 1;
            timing[r * kMatrixSide] = static_cast<uint8_t>((r & 1) == 0);
        }
    }
}

// The size in use when its geometry agrees with itself and with the mapping dimensions.
const SymbolSize* CheckedSize(const Symbol& symbol) {
    if (!IsSizeIndex(symbol.sizeIndex)) return nullptr;
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    if (VerticalRegionCount(size) * HorizontalRegionCount(size) != size.regionCount) return nullptr;
    if (symbol.mappingRows != MappingRows(size) || symbol.mappingCols != MappingCols(size)) {
        return nullptr;
    }
    return &size;
}

void DrawPatterns(Symbol& symbol, const SymbolSize& size) {
    DrawHorizontalPatterns(symbol, size);
    DrawVerticalPatterns(symbol, size);
    symbol.rows = static_cast<uint8_t>(size.symbolRows);
    symbol.cols = static_cast<uint8_t>(size.symbolCols);
}

}  // namespace

bool AssembleSymbol(Symbol& symbol) {
    const SymbolSize* size = CheckedSize(symbol);
    if (size == nullptr) return false;
    SpreadMappingMatrix(symbol, *size);
    DrawPatterns(symbol, *size);
    return true;
}

bool AssemblePlacedSymbol(Symbol& symbol) {
    const SymbolSize* size = CheckedSize(symbol);
    if (size == nullptr) return false;
    DrawPatterns(symbol, *size);
    return true;
}

}  // namespace ecc200
