// The diagonal placement of codeword bits in the mapping matrix: codewords in the "utah" shape
// swept up and down the matrix in diagonal bands, four fixed corner shapes, and wrap-around
// at the edges. The order is worked out once per size and kept as a table of module positions.
#include "geometry/placement_map.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "geometry/size_table.h"

namespace ecc200 {
namespace {

constexpr int16_t kFreeModule = -1;  // 0xFFFF: no bit placed here yet

// Number of map entries of an R x C mapping matrix: its modules rounded down to whole codewords.
constexpr int32_t EntryCount(int32_t rows, int32_t cols) {
    return rows * cols / 8 * 8;
}

// A corner shape position: non-negative values count from the top row or left column, negative
// values from one past the bottom row or right column (-1 is the last row or column).
struct CornerOffset {
    int8_t row;
    int8_t col;
};
using CornerShape = CornerOffset[8];

constexpr CornerShape kCornerShapes[4] = {
    {{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
    {{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}},
    {{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}},
    {{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}},
};

bool IsFreeModule(const Symbol& symbol, int32_t row, int32_t col) {
    return row >= 0 && row < symbol.mappingRows && col >= 0 && col < symbol.mappingCols &&
           symbol.placementGrid[row][col] < 0;
}

// Records the current bit (placeCodeword, placeBit) at (row, col) after wrapping positions
// that fall off the top or left edge, and moves on to the next bit. A position that is still
// outside the matrix is left unplaced, which the encode rejects.
void PlaceModule(Symbol& symbol, int32_t row, int32_t col) {
    const int32_t rows = symbol.mappingRows;
    const int32_t cols = symbol.mappingCols;
    if (row < 0) {
        row += rows;
        col += 4 - ((rows + 4) % 8);
    }
    if (col < 0) {
        col += cols;
        row += 4 - ((cols + 4) % 8);
    }
    const int32_t entry = 8 * symbol.placeCodeword + symbol.placeBit;
    ++symbol.placeBit;
    if (row < 0 || row >= rows || col < 0 || col >= cols) return;
    if (entry >= EntryCount(rows, cols)) return;
    symbol.placementGrid[row][col] = static_cast<int16_t>(entry);
    symbol.mapInProgress[entry] = {static_cast<uint8_t>(row), static_cast<uint8_t>(col)};
}

// The eight bits of the next codeword in the utah shape whose lower right module is (row, col).
void PlaceUtah(Symbol& symbol, int32_t row, int32_t col) {
    symbol.placeBit = 0;
    PlaceModule(symbol, row - 2, col - 2);
    PlaceModule(symbol, row - 2, col - 1);
    PlaceModule(symbol, row - 1, col - 2);
    PlaceModule(symbol, row - 1, col - 1);
    PlaceModule(symbol, row - 1, col);
    PlaceModule(symbol, row, col - 2);
    PlaceModule(symbol, row, col - 1);
    PlaceModule(symbol, row, col);
    ++symbol.placeCodeword;
}

// The eight bits of the next codeword in corner shape 1..4.
void PlaceCorner(Symbol& symbol, int32_t shape) {
    symbol.placeBit = 0;
    for (const CornerOffset& offset : kCornerShapes[shape - 1]) {
        const int32_t row = offset.row < 0 ? symbol.mappingRows + offset.row : offset.row;
        const int32_t col = offset.col < 0 ? symbol.mappingCols + offset.col : offset.col;
        PlaceModule(symbol, row, col);
    }
    ++symbol.placeCodeword;
}

void PlaceCornersAt(Symbol& symbol, int32_t row, int32_t col) {
    const int32_t rows = symbol.mappingRows;
    const int32_t cols = symbol.mappingCols;
    if (row == rows && col == 0) PlaceCorner(symbol, 1);
    if (row == rows - 2 && col == 0 && cols % 4 != 0) PlaceCorner(symbol, 2);
    if (row == rows - 2 && col == 0 && cols % 8 == 4) PlaceCorner(symbol, 3);
    if (row == rows + 4 && col == 2 && cols % 8 == 0) PlaceCorner(symbol, 4);
}

// Sweeps the matrix in diagonal bands, up and to the right, then down and to the left, placing
// a codeword wherever the shape's anchor module is still free.
void TraverseMappingMatrix(Symbol& symbol) {
    const int32_t rows = symbol.mappingRows;
    const int32_t cols = symbol.mappingCols;
    int32_t row = 4;
    int32_t col = 0;
    do {
        PlaceCornersAt(symbol, row, col);
        do {
            if (IsFreeModule(symbol, row, col)) PlaceUtah(symbol, row, col);
            row -= 2;
            col += 2;
        } while (row >= 0 && col < cols);
        row += 1;
        col += 3;
        do {
            if (IsFreeModule(symbol, row, col)) PlaceUtah(symbol, row, col);
            row += 2;
            col -= 2;
        } while (row < rows && col >= 0);
        row += 3;
        col += 1;
    } while (row < rows || col < cols);
}

// Each entry's module as an offset into Symbol::matrix: mapping row r is matrix row rows - 1 - r.
void StoreMatrixOffsets(const PlacementEntry* entries, int32_t count, int32_t rows, int32_t cols,
                        uint16_t* offsets) {
    static_assert(kMatrixSide * kMatrixSide <= UINT16_MAX + 1);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t row = entries[i].row;
        const int32_t col = entries[i].col;
        const bool inside = row < rows && col < cols;
        offsets[i] = inside ? static_cast<uint16_t>((rows - 1 - row) * kMatrixSide + col) : 0;
    }
}

// Each entry's module as an offset into Symbol::matrix once the symbol is assembled: matrix row i
// of the mapping matrix lands on row i + 1 + 2 (i / regionRows), and column c of it on column
// (c / regionCols) (regionCols + 2) + 1 + c % regionCols (see the assembly).
void StoreSymbolOffsets(const PlacementEntry* entries, int32_t count, const SymbolSize& size,
                        uint16_t* offsets) {
    const int32_t rows = MappingRows(size);
    const int32_t cols = MappingCols(size);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t row = entries[i].row;
        const int32_t col = entries[i].col;
        const bool inside = row < rows && col < cols;
        offsets[i] = inside ? SymbolOffset(size, rows - 1 - row, col) : 0;
    }
}

void MarkAllModulesFree(Symbol& symbol) {
    for (int32_t row = 0; row < symbol.mappingRows; ++row) {
        std::fill_n(symbol.placementGrid[row], symbol.mappingCols, kFreeModule);
    }
}

}  // namespace

int32_t BuildPlacementMap(Symbol& symbol, int32_t sizeIndex) {
    if (!IsSizeIndex(sizeIndex)) return 0;
    const SymbolSize& size = SizeAt(sizeIndex);
    const int32_t entryCount = EntryCount(MappingRows(size), MappingCols(size));
    PlacementEntry*& slot = symbol.placementMaps[sizeIndex];
    if (slot != nullptr) return entryCount;

    symbol.mappingRows = MappingRows(size);
    symbol.mappingCols = MappingCols(size);
    const auto count = static_cast<std::size_t>(entryCount);
    const std::size_t bytes = count * sizeof(PlacementEntry);
    symbol.mapInProgress =
        static_cast<PlacementEntry*>(std::malloc(bytes + 2 * count * sizeof(uint16_t)));
    if (symbol.mapInProgress == nullptr) return 0;
    std::memset(symbol.mapInProgress, 0xFF, bytes);
    MarkAllModulesFree(symbol);
    symbol.placeCodeword = 0;
    symbol.placeBit = 0;

    TraverseMappingMatrix(symbol);
    auto* offsets = static_cast<uint16_t*>(static_cast<void*>(symbol.mapInProgress + count));
    StoreMatrixOffsets(symbol.mapInProgress, entryCount, symbol.mappingRows, symbol.mappingCols,
                       offsets);
    StoreSymbolOffsets(symbol.mapInProgress, entryCount, size, offsets + count);

    slot = symbol.mapInProgress;
    symbol.mapInProgress = nullptr;
    return entryCount;
}

const uint16_t* MatrixOffsets(const PlacementEntry* map, int32_t sizeIndex) {
    const SymbolSize& size = SizeAt(sizeIndex);
    const PlacementEntry* end = map + EntryCount(MappingRows(size), MappingCols(size));
    return static_cast<const uint16_t*>(static_cast<const void*>(end));
}

const uint16_t* SymbolOffsets(const PlacementEntry* map, int32_t sizeIndex) {
    const SymbolSize& size = SizeAt(sizeIndex);
    return MatrixOffsets(map, sizeIndex) + EntryCount(MappingRows(size), MappingCols(size));
}

}  // namespace ecc200
