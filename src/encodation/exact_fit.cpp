#include "encodation/exact_fit.h"

#include "geometry/size_table.h"

namespace ecc200 {

int32_t FindExactFitSize(Symbol& symbol, int32_t n) {
    if (symbol.sizeIndex != kAutomaticSize) {
        if (!IsSizeIndex(symbol.sizeIndex)) return kAutomaticSize;
        return SizeAt(symbol.sizeIndex).totalDataCodewords == n ? symbol.sizeIndex : kAutomaticSize;
    }
    for (int32_t i = 0; i < kSquareSizeCount; ++i) {
        const int32_t capacity = SizeAt(i).totalDataCodewords;
        if (n + 1 < capacity) break;  // capacities only grow from here
        if (capacity == n) {
            symbol.sizeIndex = i;
            return i;
        }
    }
    return kAutomaticSize;
}

int32_t CapacityForStream(const Symbol& symbol, int32_t n) {
    if (symbol.sizeIndex != kAutomaticSize && !IsSizeIndex(symbol.sizeIndex)) return -1;
    return CapacityFor(symbol.sizeIndex, n);
}

}  // namespace ecc200
