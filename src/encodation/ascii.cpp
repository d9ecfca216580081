// ASCII encodation: digit pairs, single bytes and Upper Shift, written or only counted.
#include "encodation/ascii.h"

#include "encodation/char_classes.h"
#include "encodation/packing.h"

namespace ecc200 {

namespace {

// Writes through its copy of the cursor unless it is counting, and counts every codeword.
struct Producer {
    EncoderCursor cursor;
    int32_t produced = 0;

    void Put(uint8_t codeword) {
        if (!cursor.Counting()) cursor.Put(codeword);
        ++produced;
    }
};

}  // namespace

int32_t EncodeAscii(EncoderCursor& cursor) {
    // Works on a copy: the codeword array may alias anything, so every codeword written through
    // the caller's cursor would make the compiler reload all of the cursor's fields.
    Producer out{cursor};
    EncoderCursor& local = out.cursor;
    while (local.remaining > 0) {
        const uint8_t c = local.Take();
        if (local.remaining > 0 && IsDigit(c) && IsDigit(*local.position)) {
            const uint8_t second = local.Take();
            out.Put(AsciiDigitPair(c, second));
        } else {
            PutAsciiByte(out, c);
        }
    }
    cursor = local;
    return out.produced;
}

int32_t MeasureAscii(const uint8_t* bytes, int32_t length) {
    EncoderCursor counting{.position = bytes, .remaining = length};
    return EncodeAscii(counting);
}

}  // namespace ecc200
