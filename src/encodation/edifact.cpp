// EDIFACT encodation: how much of the run EDIFACT takes, its groups, and the end-of-data rule
// that lets it end without the unlatch.
#include "encodation/edifact.h"

#include "encodation/ascii.h"
#include "encodation/char_classes.h"
#include "encodation/exact_fit.h"
#include "encodation/packing.h"

namespace ecc200 {

namespace {

// Whether the run may end without an unlatch: at most two codewords of capacity remain after its
// whole groups, and the bytes past them (if any) take exactly that many ASCII codewords.
bool EndOfDataRuleApplies(const Symbol& symbol, const EncoderCursor& cursor) {
    const int32_t n = cursor.remaining;
    const int32_t wholeGroups = n / 4;
    const int32_t rest = n % 4;
    const int32_t after = cursor.count + 3 * wholeGroups;
    const int32_t capacity = CapacityForStream(symbol, after);
    const int32_t space = capacity < 0 ? -1 : capacity - after;
    if (space > 2) return false;
    if (rest == 0) return true;
    return MeasureAscii(cursor.position + 4 * wholeGroups, rest) == space;
}

// How many bytes EDIFACT takes when the end-of-data rule does not apply: the last byte of a run
// of 4k bytes and the last two of a run of 4k + 1 bytes are left to ASCII.
int32_t BytesTakenWithUnlatch(int32_t n) {
    switch (n % 4) {
        case 0:
            return n > 0 ? n - 1 : 0;
        case 1:
            return n > 1 ? n - 2 : 0;
        default:
            return n;
    }
}

}  // namespace

int32_t EncodeEdifact(Symbol& symbol, EncoderCursor& cursor, bool atEnd) {
    const int32_t start = cursor.count;
    const bool ruleApplies = atEnd && EndOfDataRuleApplies(symbol, cursor);
    const int32_t taken =
        ruleApplies ? 4 * (cursor.remaining / 4) : BytesTakenWithUnlatch(cursor.remaining);

    // A closing group holding the unlatch alone is misread by readers (they leave EDIFACT at the
    // unlatch and then meet a zero codeword); with nothing to carry, the latch goes instead.
    if (!ruleApplies && taken == 0 && cursor.Previous() == kLatchEdifact) {
        cursor.DropPrevious();
        symbol.scheme = kSchemeAscii;
        return EncodeAscii(cursor);
    }

    EdifactGroup group;
    for (int32_t i = 0; i < taken; ++i) {
        const uint8_t c = *cursor.position;
        if (!IsEdifact(c)) return kEdifactByteError;
        cursor.Take();
        group.Add(EdifactValue(c), cursor);
    }
    if (!ruleApplies) {
        group.Add(kEdifactUnlatchValue, cursor);
        // Closed as a whole group of three codewords, the unused values zero.
        if (group.size > 0) group.Flush(cursor, 3);
    }
    symbol.scheme = kSchemeAscii;
    EncodeAscii(cursor);
    return cursor.count - start;
}

}  // namespace ecc200
