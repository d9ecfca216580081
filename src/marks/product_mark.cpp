#include "marks/product_mark.h"

#include <cstring>

#include "marks/keystream.h"
#include "marks/user_identity.h"

namespace ecc200 {
namespace {

constexpr int32_t kProductIdKeyOffset = 2;

// Characters of text before its terminating zero, counting no further than limit + 1.
int32_t LengthUpTo(const char* text, int32_t limit) {
    int32_t length = 0;
    while (length <= limit && text[length] != '\0') ++length;
    return length;
}

void InvertModule(uint8_t& module) {
    module = module == 0 ? 1 : 0;
}

void BuildProductKey(MarkState& state, const char* productId, int32_t productIdLength, int32_t rows,
                     int32_t cols) {
    std::memset(state.key, 0, sizeof state.key);
    state.keyLength = state.identityLength + kMarkKeyHeader;
    state.key[0] = static_cast<uint8_t>(rows & 0xFF);
    state.key[1] = static_cast<uint8_t>(cols & 0xFF);
    // The identifier always takes the full 100 bytes, zero-filled, so its length is not keyed.
    std::memcpy(state.key + kProductIdKeyOffset, productId,
                static_cast<std::size_t>(productIdLength));
    std::memcpy(state.key + kMarkKeyHeader, state.identity,
                static_cast<std::size_t>(state.identityLength));
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
    const int32_t productIdLength = LengthUpTo(productId, kMaxProductIdLength);
    if (productIdLength > kMaxProductIdLength) return false;
    if (state.identityLength < 0 || !IdentityFitsMarkKey(state)) return false;
    // A mapping matrix never exceeds the module matrix; larger dimensions are refused rather
    // than walked outside it.
    if (rows > kMatrixSide || cols > kMatrixSide) return false;

    BuildProductKey(state, productId, productIdLength, rows, cols);
    ScheduleMarkKey(state);
    DiscardMarkBytes(state, state.keyLength);
    // An empty area (either dimension below 1) has nothing to invert.
    if (rows < 1 || cols < 1) return true;
    WalkAndInvert(state, matrix, rows, cols);
    return true;
}

}  // namespace ecc200
