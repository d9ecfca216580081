// EDIFACT encodation: four 6-bit values packed into three codewords.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "encodation/encoder_cursor.h"

namespace ecc200 {

// Encodes the run in EDIFACT (the latch is already written) and returns to ASCII: with the
// unlatch value 31 in a closing group of three codewords, or, when `atEnd` is set and at most two
// codewords of capacity remain after the whole groups that the rest of the run fills exactly in
// ASCII, with no unlatch. Without that end-of-data rule EDIFACT leaves the last one or two bytes
// of a run of 4k or 4k + 1 bytes to ASCII; when it would then take no byte at all, it takes back
// the latch instead and the run goes to ASCII alone. Sets `scheme` to ASCII. Returns the number of
// codewords produced, or -4 when a byte that EDIFACT is to take lies outside 32..94.
[[nodiscard]] int32_t EncodeEdifact(Symbol& symbol, EncoderCursor& cursor, bool atEnd);

}  // namespace ecc200
