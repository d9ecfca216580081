#include "encodation/ascii.h"

#include "encodation/char_classes.h"

namespace ecc200 {

namespace {

constexpr uint8_t kDigitPairBase = 130;

void Produce(EncoderCursor& cursor, uint8_t codeword, int32_t& produced) {
    if (!cursor.Counting()) cursor.Put(codeword);
    ++produced;
}

}  // namespace

int32_t EncodeAscii(EncoderCursor& cursor) {
    int32_t produced = 0;
    while (cursor.remaining > 0) {
        const uint8_t c = cursor.Take();
        if (cursor.remaining > 0 && IsDigit(c) && IsDigit(*cursor.position)) {
            const uint8_t second = cursor.Take();
            Produce(cursor, static_cast<uint8_t>(kDigitPairBase + 10 * (c - '0') + (second - '0')),
                    produced);
        } else if (!IsExtended(c)) {
            Produce(cursor, static_cast<uint8_t>(c + 1), produced);
        } else {
            Produce(cursor, kUpperShift, produced);
            Produce(cursor, static_cast<uint8_t>(c - 127), produced);
        }
    }
    return produced;
}

int32_t MeasureAscii(const uint8_t* bytes, int32_t length) {
    EncoderCursor counting{.position = bytes, .remaining = length};
    return EncodeAscii(counting);
}

}  // namespace ecc200
