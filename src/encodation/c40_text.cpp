// C40 and Text encodation: the values of the run collected, then packed three to two codewords.
#include "encodation/c40_text.h"

#include "encodation/char_classes.h"
#include "encodation/packing.h"

namespace ecc200 {

namespace {

// The values of the data, collected before packing.
struct ValueList {
    uint8_t values[kC40ValueStorage];
    int32_t size = 0;

    void Append(uint8_t value) { values[size++] = value; }

    // A character's one or two values. Both slots are written whatever the length (the storage
    // has room behind the last value), which spares a branch on the length per character.
    void Append(const CharValues& character) {
        values[size] = character.values[0];
        values[size + 1] = character.values[1];
        size += character.length;
    }
};

void CollectByte(const CharSetTable& sets, uint8_t c, ValueList& list) {
    if (IsExtended(c)) {
        list.Append(kShift2Value);
        list.Append(kUpperShiftValue);
        c = static_cast<uint8_t>(c - 128);
        // Shifted, a control character is itself even where the table makes one stand for FNC1.
        if (c < 32) {
            list.Append(CharValues{2, {kShift1Value, c}});
            return;
        }
    }
    list.Append(sets.byCharacter[c]);
}

void CompleteLastTriplet(ValueList& list) {
    switch (list.size % 3) {
        case 1:
            list.Append(kShift2Value);
            list.Append(kUpperShiftValue);
            break;
        case 2:
            list.Append(kShift1Value);
            break;
        default:
            break;
    }
}

}  // namespace

int32_t EncodeC40Text(const CharSetTable& sets, EncoderCursor& cursor) {
    // Works on a copy, as the ASCII encoder does: codewords written through the caller's cursor
    // would make the compiler reload its fields after every one.
    EncoderCursor local = cursor;
    ValueList list;
    while (local.remaining > 0 && list.size < kC40MaxValues) {
        CollectByte(sets, local.Take(), list);
    }
    if (list.size == 0) {
        if (local.Previous() == sets.latch) local.DropPrevious();
        cursor = local;
        return 0;
    }
    CompleteLastTriplet(list);
    for (int32_t i = 0; i < list.size; i += 3) {
        PutTriplet(local, TripletWord(list.values[i], list.values[i + 1], list.values[i + 2]));
    }
    cursor = local;
    return 2 * (list.size / 3);
}

}  // namespace ecc200
