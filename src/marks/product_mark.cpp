// The product mark: the key from the size, the product identifier and the identity, and the
// inversions it walks through the mapping matrix.
#include "marks/product_mark.h"

#include "core/bounded_length.h"
#include "marks/keystream.h"

namespace ecc200 {
namespace {

static_assert(kMaxProductIdLength == kMarkKeyBodyBytes, "an identifier fills the key's body");

void InvertModule(uint8_t& module) {
    module = module == 0 ? 1 : 0;
}

// Walks the rows x cols cells row by row from the bottom-left, advancing by the low three bits
// and then bits 3..5 of each keystream byte, and inverts every cell it lands on. A step of 0
// lands on the same cell again and undoes the inversion just made.
void WalkAndInvert(MarkState& state, uint8_t (&matrix)[kMatrixSide][kMatrixSide], int32_t rows,
                   int32_t cols) {
    const int32_t total = rows * cols;
    int32_t position = 0;
    // Moves on by step and inverts the cell reached; false once the walk has left the area.
    auto stepAndInvert = [&](int32_t step) {
        position += step;
        if (position >= total) return false;
        InvertModule(matrix[position / cols][position % cols]);
        return true;
    };
    for (;;) {
        const uint8_t k = NextMarkByte(state);
        if (!stepAndInvert(k & 7)) return;
        if (!stepAndInvert((k >> 3) & 7)) return;
    }
}

}  // namespace

bool ApplyProductMark(MarkState& state, uint8_t (&matrix)[kMatrixSide][kMatrixSide],
                      const char* productId, int32_t rows, int32_t cols) {
    if (productId == nullptr) return false;
    const int32_t productIdLength = BoundedLength(productId, kMaxProductIdLength);
    // A mapping matrix never exceeds the module matrix; larger dimensions are refused rather
    // than walked outside it.
    if (productIdLength > kMaxProductIdLength || rows > kMatrixSide || cols > kMatrixSide) {
        return false;
    }
    // The identifier always takes the full 100 bytes, zero-filled, so its length is not keyed.
    if (!ComposeMarkKey(state, rows, cols, reinterpret_cast<const uint8_t*>(productId),
                        productIdLength)) {
        return false;
    }
    ScheduleMarkKey(state);
    DiscardMarkBytes(state, state.keyLength);
    // An empty area (either dimension below 1) has nothing to invert.
    if (rows < 1 || cols < 1) return true;
    WalkAndInvert(state, matrix, rows, cols);
    return true;
}

}  // namespace ecc200
