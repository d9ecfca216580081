#include "encodation/ascii.h"

#include "encodation/char_classes.h"

namespace ecc200 {

namespace {

void Produce(EncoderCursor& cursor, uint8_t codeword, int32_t& produced) {
    if (!cursor.Counting()) cursor.Put(codeword);
    ++produced;
}

}  // namespace

int32_t EncodeAscii(EncoderCursor& cursor) {
    // Works on a copy: the codeword array may alias anything, so every codeword written through
    // the caller's cursor would make the compiler reload all of the cursor's fields.
    EncoderCursor local = cursor;
    int32_t produced = 0;
    while (local.remaining > 0) {
        const uint8_t c = local.Take();
        if (local.remaining > 0 && IsDigit(c) && IsDigit(*local.position)) {
            const uint8_t second = local.Take();
            Produce(local, static_cast<uint8_t>(kDigitPairBase + 10 * (c - '0') + (second - '0')),
                    produced);
        } else if (!IsExtended(c)) {
            Produce(local, static_cast<uint8_t>(c + 1), produced);
        } else {
            Produce(local, kUpperShift, produced);
            Produce(local, static_cast<uint8_t>(c - 127), produced);
        }
    }
    cursor = local;
    return produced;
}

int32_t MeasureAscii(const uint8_t* bytes, int32_t length) {
    EncoderCursor counting{.position = bytes, .remaining = length};
    return EncodeAscii(counting);
}

}  // namespace ecc200
