// ANSI X12 encodation: triplets of a 40-character set packed into two codewords.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "encodation/encoder_cursor.h"

namespace ecc200 {

// The value of an X12 character (0..39), or -1 for a byte outside the set.
constexpr int32_t X12Value(uint8_t c) {
    switch (c) {
        case '\r':
            return 0;
        case '*':
            return 1;
        case '>':
            return 2;
        case ' ':
            return 3;
        default:
            break;
    }
    if (c >= '0' && c <= '9') return 4 + (c - '0');
    if (c >= 'A' && c <= 'Z') return 14 + (c - 'A');
    return -1;
}

// Encodes the run's whole triplets in X12 (the latch is already written), returns to ASCII with
// 254 and encodes the last one or two bytes in ASCII. When `atEnd` is set and those bytes take a
// single ASCII codeword that exactly fills the symbol, the unlatch is left out. Sets `scheme` to
// ASCII. Returns the number of codewords produced, or -6 (nothing consumed from the failing
// triplet on, `scheme` unchanged) when a byte of a whole triplet is not in the set.
[[nodiscard]] int32_t EncodeX12(Symbol& symbol, EncoderCursor& cursor, bool atEnd);

}  // namespace ecc200
