// The fixed-scheme driver: latch, the one scheme's encoder, unlatch and first pad where the
// symbol has room.
#include "encodation/fixed_scheme.h"

#include "encodation/ascii.h"
#include "encodation/base256.h"
#include "encodation/c40_text.h"
#include "encodation/data_cursor.h"
#include "encodation/edifact.h"
#include "encodation/exact_fit.h"
#include "encodation/x12.h"
#include "geometry/size_table.h"

namespace ecc200 {

namespace {

constexpr bool kRunEndsData = true;

// Runs the scheme's encoder on the cursor's bytes, with the latch first for schemes other than
// ASCII. `atEnd`: the bytes reach the end of the data.
int32_t EncodeInScheme(Symbol& symbol, EncoderCursor& cursor, bool atEnd) {
    const int32_t scheme = symbol.scheme;
    const bool gs1 = symbol.options.gs1 != 0;
    if (scheme != kSchemeAscii) cursor.Put(LatchOf(scheme));
    switch (scheme) {
        case kSchemeC40:
            return EncodeC40Text(gs1 ? C40Gs1CharSets : C40CharSets, cursor);
        case kSchemeText:
            return EncodeC40Text(gs1 ? TextGs1CharSets : TextCharSets, cursor);
        case kSchemeX12:
            return EncodeX12(symbol, cursor, atEnd);
        case kSchemeEdifact:
            return EncodeEdifact(symbol, cursor, atEnd);
        case kSchemeBase256:
            return EncodeBase256(symbol, cursor, atEnd);
        default:
            return EncodeAscii(cursor);
    }
}

// GS1 data in a scheme that has no FNC1 of its own (ASCII writes it as a codeword between its
// pieces; X12, EDIFACT and Base 256 return to ASCII as their rules do): the data is cut at every
// group separator, each piece is encoded in the scheme, and FNC1 goes between them in ASCII.
int32_t EncodeGs1Pieces(Symbol& symbol, EncoderCursor& cursor) {
    const int32_t scheme = symbol.scheme;
    const uint8_t* const end = cursor.position + cursor.remaining;
    const int32_t start = cursor.count;
    bool encodedAny = false;
    for (;;) {
        const uint8_t* separator = cursor.position;
        while (separator != end && *separator != kGroupSeparator) ++separator;
        const bool last = separator == end;
        cursor.remaining = static_cast<int32_t>(separator - cursor.position);
        if (cursor.remaining > 0 || (last && !encodedAny)) {
            symbol.scheme = scheme;
            const int32_t produced = EncodeInScheme(symbol, cursor, last);
            if (produced < 0) return produced;
            encodedAny = true;
        }
        if (last) break;
        cursor.Put(kFnc1);
        cursor.Take();
    }
    symbol.scheme = kSchemeAscii;
    return cursor.count - start;
}

bool CarriesFnc1Itself(int32_t scheme) {
    return scheme == kSchemeC40 || scheme == kSchemeText;
}

}  // namespace

int32_t EncodeFixedScheme(Symbol& symbol, uint8_t* out, int32_t capacity) {
    if (!HasValidSizeRequest(symbol)) return kBadParameterError;
    if (symbol.scheme < kSchemeAscii || symbol.scheme > kSchemeX12) return kBadParameterError;
    EncoderCursor cursor = StartOfData(symbol, out, capacity);
    const int32_t produced = symbol.options.gs1 != 0 && !CarriesFnc1Itself(symbol.scheme)
                                 ? EncodeGs1Pieces(symbol, cursor)
                                 : EncodeInScheme(symbol, cursor, kRunEndsData);
    if (produced < 0) return produced;
    if (cursor.remaining > 0) return kInputLeftOverError;  // C40 or Text past their value limit

    // C40 and Text leave the stream in their scheme; it returns to ASCII unless the data fills
    // the symbol exactly. An empty run took back its latch, so there is nothing to leave.
    if (symbol.scheme != kSchemeAscii && produced > 0 &&
        FixExactFitSize(symbol, cursor.count) == kNoSize) {
        cursor.Put(kUnlatch);
    }
    if (FixExactFitSize(symbol, cursor.count) == kNoSize) cursor.Put(kFirstPad);
    return cursor.count;
}

int32_t EncodeFixedScheme(Symbol& symbol) {
    return EncodeFixedScheme(symbol, symbol.codewords, kCodewordCapacity);
}

}  // namespace ecc200
