// The user mark: one codeword inverted in every interleaved Reed-Solomon block, at positions
// keyed by the symbol size, the data and the user identity.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "marks/mark_state.h"
#include "marks/user_mark_parts.h"

namespace ecc200 {

// Inverts one codeword per block of symbol.codewords, keyed with the identity already loaded into
// state. False, with nothing changed, when the identity is too long for the key.
bool ApplyUserMark(MarkState& state, Symbol& symbol);

// The stream positions the mark inverts in a symbol of sizeIndex carrying these data bytes (as
// the host handed them to the encoder), one per interleaved block, keyed with the identity
// already loaded into state: what the encode inverts and what a read checks. Returns the number
// of positions (the size's block count), or 0 for an invalid size or an identity too long for
// the key.
int32_t UserMarkStreamPositions(MarkState& state, int32_t sizeIndex, int32_t dataLength,
                                const uint8_t* data, int32_t (&positions)[kUserMarkValueCount]);

// The ten keystream values behind the mark's positions. False (loadReason 2) when the identity
// is too long for the key.
bool DeriveUserMarkValues(MarkState& state, int32_t dataLength, const uint8_t* data,
                          int32_t (&values)[10], int32_t symbolRows, int32_t symbolCols);

}  // namespace ecc200
