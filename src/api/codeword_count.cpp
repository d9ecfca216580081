// The codeword count export: how many data codewords a finished symbol holds before its padding,
// read from its modules through the library's own placement map, so that symbols of any encoder
// can be compared.
#include <cstdlib>

#include "core/symbol.h"
#include "ecc/reed_solomon.h"
#include "ecc200.h"
#include "encodation/encoder_cursor.h"
#include "geometry/placement_map.h"
#include "geometry/size_table.h"

namespace ecc200 {
namespace {

// The size index of a rows x cols symbol, or kNoSize.
int32_t SizeIndexOf(int32_t rows, int32_t cols) {
    for (int32_t i = 0; i < kSizeCount; ++i) {
        if (SizeAt(i).symbolRows == rows && SizeAt(i).symbolCols == cols) return i;
    }
    return kNoSize;
}

// The module of a mapping-matrix position in the symbol: each data region is framed by a finder
// row and column and a timing row and column.
bool IsDark(const uint8_t* modules, const SymbolSize& size, const PlacementEntry& entry) {
    const int32_t row =
        entry.row / size.regionRows * (size.regionRows + 2) + 1 + entry.row % size.regionRows;
    const int32_t col =
        entry.col / size.regionCols * (size.regionCols + 2) + 1 + entry.col % size.regionCols;
    return modules[row * size.symbolCols + col] != 0;
}

// The data and pad codewords in stream order (interleaving leaves them in order), read through
// the size's placement map built in a scratch symbol record; false when memory is short.
bool ReadDataCodewords(const uint8_t* modules, int32_t sizeIndex, uint8_t* codewords) {
    auto* scratch = static_cast<Symbol*>(std::calloc(1, sizeof(Symbol)));
    if (scratch == nullptr) return false;
    const int32_t entries = BuildPlacementMap(*scratch, sizeIndex);
    const PlacementEntry* map = scratch->placementMaps[sizeIndex];
    const SymbolSize& size = SizeAt(sizeIndex);
    const bool built = entries != 0 && map != nullptr;
    if (built) {
        for (int32_t bit = 0; bit < 8 * size.totalDataCodewords; ++bit) {
            if (IsDark(modules, size, map[bit])) {
                codewords[bit / 8] = static_cast<uint8_t>(codewords[bit / 8] | (0x80 >> (bit % 8)));
            }
        }
    }
    if (scratch->mapInProgress != map) std::free(scratch->mapInProgress);
    std::free(scratch->placementMaps[sizeIndex]);
    std::free(scratch);
    return built;
}

}  // namespace
}  // namespace ecc200

extern "C" {

ECC200_API int32_t ECC200_CALL CountDataCodewords_ECC200(const uint8_t* modules, int32_t rows,
                                                         int32_t cols) {
    using namespace ecc200;
    const int32_t sizeIndex = SizeIndexOf(rows, cols);
    if (modules == nullptr || sizeIndex == kNoSize) return -ECC200_ERR_PARAMETER;
    uint8_t codewords[kCodewordCapacity] = {};
    if (!ReadDataCodewords(modules, sizeIndex, codewords)) return -ECC200_ERR_INTERNAL;
    int32_t end = SizeAt(sizeIndex).totalDataCodewords;
    while (end > 0 && codewords[end - 1] == PadCodewordAt(end)) --end;
    // A randomised pad is never 129, so the first pad is where the run of pads stops.
    if (end > 0 && codewords[end - 1] == kFirstPad) return end - 1;
    return SizeAt(sizeIndex).totalDataCodewords;
}
}
