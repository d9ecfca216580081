// ASCII encodation: the scheme every stream starts in and returns to.
#pragma once

#include <cstdint>

#include "encodation/encoder_cursor.h"

namespace ecc200 {

// Encodes every remaining byte: digit pairs as one codeword 130..229, bytes below 128 as byte + 1,
// bytes of 128 and more as Upper Shift 235 and byte - 127. Returns the number of codewords
// produced; never fails. In counting mode (null `out`) the input is consumed just the same, but
// nothing is written and `count` keeps its value.
int32_t EncodeAscii(EncoderCursor& cursor);

// The number of ASCII codewords that `length` bytes from `bytes` take.
int32_t MeasureAscii(const uint8_t* bytes, int32_t length);

}  // namespace ecc200
