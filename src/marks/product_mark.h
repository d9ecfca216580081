// The product mark: modules of the mapping matrix inverted at positions keyed by its size, a
// product identifier and the user identity. Applying it twice with the same key undoes it.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "marks/mark_state.h"

namespace ecc200 {

// Inverts modules of the lower-left rows x cols cells of matrix (row 0 at the bottom), keyed by
// productId and the identity already loaded into state. False, with nothing changed, when the
// identifier is over 100 characters or the identity too long for the key.
bool ApplyProductMark(MarkState& state, uint8_t (&matrix)[kMatrixSide][kMatrixSide],
                      const char* productId, int32_t rows, int32_t cols);

}  // namespace ecc200
