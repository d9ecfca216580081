// ANSI X12 encodation: whole triplets, the unlatch, and the last one or two bytes in ASCII.
#include "encodation/x12.h"

#include "encodation/ascii.h"
#include "encodation/exact_fit.h"
#include "encodation/packing.h"
#include "geometry/size_table.h"

namespace ecc200 {

namespace {

// Whether the run's last one or two bytes may follow the triplets without an unlatch: they take
// one ASCII codeword and that codeword completes the symbol exactly.
bool UnlatchCanBeLeftOut(Symbol& symbol, const EncoderCursor& cursor, bool atEnd) {
    if (!atEnd || cursor.remaining < 1 || cursor.remaining > 2) return false;
    if (MeasureAscii(cursor.position, cursor.remaining) != 1) return false;
    return FixExactFitSize(symbol, cursor.count + 1) != kNoSize;
}

}  // namespace

int32_t EncodeX12(Symbol& symbol, EncoderCursor& cursor, bool atEnd) {
    const int32_t start = cursor.count;
    while (cursor.remaining >= 3) {
        const int32_t first = X12Value(cursor.position[0]);
        const int32_t second = X12Value(cursor.position[1]);
        const int32_t third = X12Value(cursor.position[2]);
        if (first < 0 || second < 0 || third < 0) return kX12ByteError;
        PutTriplet(cursor, TripletWord(static_cast<uint32_t>(first), static_cast<uint32_t>(second),
                                       static_cast<uint32_t>(third)));
        cursor.position += 3;
        cursor.remaining -= 3;
    }
    symbol.scheme = kSchemeAscii;
    if (!UnlatchCanBeLeftOut(symbol, cursor, atEnd)) cursor.Put(kUnlatch);
    EncodeAscii(cursor);
    return cursor.count - start;
}

}  // namespace ecc200
