// The cursor over a symbol's whole data that both drivers start from.
#pragma once

#include <cstdint>

#include "core/symbol.h"
#include "encodation/encoder_cursor.h"
#include "geometry/size_table.h"

namespace ecc200 {

// Whether the symbol's size is automatic or a row of the size table; the drivers refuse others.
inline bool HasValidSizeRequest(const Symbol& symbol) {
    return symbol.sizeIndex == kAutomaticSize || IsSizeIndex(symbol.sizeIndex);
}

// Positioned at the first data byte with the whole data remaining (a length outside 0..3116 is
// treated as the nearest valid one), appending at `codewordCount`.
inline EncoderCursor StartOfData(const Symbol& symbol, uint8_t* out, int32_t capacity) {
    int32_t length = symbol.dataLength;
    if (length < 0) length = 0;
    if (length > kMaxDataLength) length = kMaxDataLength;
    return EncoderCursor{.position = symbol.data,
                         .remaining = length,
                         .out = out,
                         .capacity = capacity,
                         .count = symbol.codewordCount > 0 ? symbol.codewordCount : 0};
}

}  // namespace ecc200
