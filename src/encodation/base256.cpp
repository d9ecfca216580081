// Base 256 encodation: the length field, the bytes, and the randomising of both.
#include "encodation/base256.h"

#include "encodation/exact_fit.h"
#include "encodation/packing.h"
#include "geometry/size_table.h"

namespace ecc200 {

namespace {

void PutRandomised(EncoderCursor& cursor, int32_t value) {
    cursor.Put(RandomiseBase256(static_cast<uint8_t>(value & 0xFF), cursor.count + 1));
}

}  // namespace

int32_t EncodeBase256(Symbol& symbol, EncoderCursor& cursor, bool atEnd) {
    const int32_t n = cursor.remaining;
    if (n < 1) return kBase256EmptyError;
    const int32_t start = cursor.count;

    // Runs of 1750 bytes or more overflow the first length codeword; such a field can never fit
    // a symbol, and the stream is rejected as too long.
    const bool toEnd = atEnd && FixExactFitSize(symbol, cursor.count + 1 + n) != kNoSize;
    const Base256Length length = Base256LengthField(n, toEnd);
    for (int32_t k = 0; k < length.size; ++k) PutRandomised(cursor, length.codewords[k]);
    // The bytes through a copy of the cursor, as in the ASCII encoder: codewords written through
    // the caller's cursor would make the compiler reload its fields after every one.
    EncoderCursor local = cursor;
    while (local.remaining > 0) PutRandomised(local, local.Take());
    cursor = local;

    symbol.scheme = kSchemeAscii;
    return cursor.count - start;
}

}  // namespace ecc200
