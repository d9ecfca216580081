// The inverse of the symbol assembly, through the assembly's own rules for where each mapping
// module lands and what the patterns hold.
#include "decoding/mapping_extraction.h"

#include "geometry/assembly.h"

namespace ecc200 {
namespace {

bool IsDark(const uint8_t* modules, const SymbolSize& size, int32_t rowFromBottom, int32_t col) {
    const int32_t rowFromTop = size.symbolRows - 1 - rowFromBottom;
    return modules[rowFromTop * size.symbolCols + col] != 0;
}

// Whether fewer than a quarter of the pattern modules differ from the patterns.
bool PatternsHold(const uint8_t* modules, const SymbolSize& size) {
    int32_t patternModules = 0;
    int32_t wrong = 0;
    for (int32_t r = 0; r < size.symbolRows; ++r) {
        for (int32_t c = 0; c < size.symbolCols; ++c) {
            const int32_t expected = PatternModule(size, r, c);
            if (expected < 0) continue;
            ++patternModules;
            if (IsDark(modules, size, r, c) != (expected == 1)) ++wrong;
        }
    }
    return 4 * wrong < patternModules;
}

}  // namespace

bool ExtractMappingMatrix(const uint8_t* modules, const SymbolSize& size, MappingMatrix& mapping) {
    if (!PatternsHold(modules, size)) return false;
    CopyMappingMatrix(modules, size, mapping);
    return true;
}

void CopyMappingMatrix(const uint8_t* modules, const SymbolSize& size, MappingMatrix& mapping) {
    const int32_t rows = MappingRows(size);
    const int32_t cols = MappingCols(size);
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t symbolRow = SymbolRowOfMappingRow(size, i);
        for (int32_t j = 0; j < cols; ++j) {
            mapping[i][j] =
                IsDark(modules, size, symbolRow, SymbolColOfMappingCol(size, j)) ? 1 : 0;
        }
    }
}

}  // namespace ecc200
