// The user mark: one codeword inverted in every interleaved Reed-Solomon block, at positions
// keyed by the symbol size, the data and the user identity.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "marks/mark_state.h"

namespace ecc200 {

// Inverts one codeword per block of symbol.codewords, keyed with the identity already loaded into
// state. False, with nothing changed, when the identity is too long for the key.
bool ApplyUserMark(MarkState& state, Symbol& symbol);

// The ten keystream values behind the mark's positions. False (loadReason 2) when the identity
// is too long for the key.
bool DeriveUserMarkValues(MarkState& state, int32_t dataLength, const uint8_t* data,
                          int32_t (&values)[10], int32_t symbolRows, int32_t symbolCols);

}  // namespace ecc200
