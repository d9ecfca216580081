// Base 256 encodation: a length field and the bytes themselves, all randomised.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "encodation/encoder_cursor.h"

namespace ecc200 {

// Encodes the whole run in Base 256 (the latch is already written): a length field of one or two
// codewords, or the single codeword 0 when `atEnd` is set and the field then ends exactly at the
// end of a symbol's capacity (in automatic size mode that fixes the size), then the bytes. Sets
// `scheme` to ASCII. Returns the number of codewords produced, or -17 for an empty run.
[[nodiscard]] int32_t EncodeBase256(Symbol& symbol, EncoderCursor& cursor, bool atEnd);

}  // namespace ecc200
