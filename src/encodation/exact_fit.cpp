// The size lookups behind the end-of-data rules: the size a stream fills exactly, and the
// capacity a stream is measured against.
#include "encodation/exact_fit.h"

#include "geometry/size_table.h"

namespace ecc200 {

int32_t FixExactFitSize(Symbol& symbol, int32_t n) {
    if (symbol.sizeIndex != kAutomaticSize) {
        if (!IsSizeIndex(symbol.sizeIndex)) return kNoSize;
        return SizeAt(symbol.sizeIndex).totalDataCodewords == n ? symbol.sizeIndex : kNoSize;
    }
    const SizeOrder order = AutomaticSizeOrder(symbol.options.shape);
    for (int32_t k = 0; k < order.count; ++k) {
        const int32_t capacity = SizeAt(order.sizes[k]).totalDataCodewords;
        if (n + 1 < capacity) break;  // capacities only grow from here
        if (capacity == n) {
            symbol.sizeIndex = order.sizes[k];
            return symbol.sizeIndex;
        }
    }
    return kNoSize;
}

int32_t CapacityForStream(const Symbol& symbol, int32_t n) {
    if (symbol.sizeIndex != kAutomaticSize && !IsSizeIndex(symbol.sizeIndex)) return -1;
    return CapacityFor(symbol.sizeIndex, n, symbol.options.shape);
}

}  // namespace ecc200
