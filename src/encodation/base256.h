// Base 256 encodation: a length field and the bytes themselves, all randomised.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "encodation/encoder_cursor.h"

namespace ecc200 {

// Lengths from this on take two codewords: 249 + n / 250, then n % 250. A first length codeword
// of 0 means the field runs to the end of the symbol's data.
inline constexpr int32_t kBase256LongLength = 250;

// The stored form of a Base 256 codeword at 1-based stream position `position`.
constexpr uint8_t RandomiseBase256(uint8_t value, int32_t position) {
    return static_cast<uint8_t>((value + (149 * position) % 255 + 1) % 256);
}

// The value behind a stored Base 256 codeword at 1-based stream position `position`.
constexpr uint8_t DerandomiseBase256(uint8_t stored, int32_t position) {
    return static_cast<uint8_t>((stored + 255 - (149 * position) % 255) % 256);
}

// Encodes the whole run in Base 256 (the latch is already written): a length field of one or two
// codewords, or the single codeword 0 when `atEnd` is set and the field then ends exactly at the
// end of a symbol's capacity (in automatic size mode that fixes the size), then the bytes. Sets
// `scheme` to ASCII. Returns the number of codewords produced, or -17 for an empty run.
[[nodiscard]] int32_t EncodeBase256(Symbol& symbol, EncoderCursor& cursor, bool atEnd);

}  // namespace ecc200
