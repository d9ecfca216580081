// The placement map of a size: the diagonal placement order (geometry/placement_walk.h) worked
// out once per size and kept as a table of module positions.
#include "geometry/placement_map.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "geometry/placement_walk.h"
#include "geometry/size_table.h"

namespace ecc200 {

// Symbol::placementMaps has one slot for every row of the size table.
static_assert(kSizeCount == static_cast<int32_t>(SymbolSizeTable.size()));

namespace {

constexpr int16_t kFreeModule = -1;  // 0xFFFF: no bit placed here yet

// The walk's visitor for a map under construction: the symbol's placement grid says which
// modules are taken (and by which entry), the map in progress receives each entry's module.
struct SymbolMapBuilder {
    Symbol& symbol;

    bool IsFree(int32_t row, int32_t col) const { return symbol.placementGrid[row][col] < 0; }

    void Place(int32_t entry, int32_t row, int32_t col) {
        symbol.placementGrid[row][col] = static_cast<int16_t>(entry);
        symbol.mapInProgress[entry] = {static_cast<uint8_t>(row), static_cast<uint8_t>(col)};
    }
};

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

// Each entry's module as an offset into Symbol::matrix once the symbol is assembled.
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
    const int32_t entryCount = PlacementEntryCount(MappingRows(size), MappingCols(size));
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

    SymbolMapBuilder builder{symbol};
    detail::PlacementWalk<SymbolMapBuilder> walk(builder, symbol.mappingRows, symbol.mappingCols);
    walk.Run();
    symbol.placeCodeword = walk.codeword();
    symbol.placeBit = walk.bit();
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
    const PlacementEntry* end = map + PlacementEntryCount(MappingRows(size), MappingCols(size));
    return static_cast<const uint16_t*>(static_cast<const void*>(end));
}

const uint16_t* SymbolOffsets(const PlacementEntry* map, int32_t sizeIndex) {
    const SymbolSize& size = SizeAt(sizeIndex);
    return MatrixOffsets(map, sizeIndex) + PlacementEntryCount(MappingRows(size), MappingCols(size));
}

}  // namespace ecc200
