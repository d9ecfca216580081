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

// Runs the scheme's encoder on the whole data, with the latch first for schemes other than ASCII.
int32_t EncodeInScheme(Symbol& symbol, EncoderCursor& cursor) {
    const int32_t scheme = symbol.scheme;
    if (scheme < kSchemeAscii || scheme > kSchemeX12) return kBadParameterError;
    if (scheme != kSchemeAscii) cursor.Put(LatchOf(scheme));
    switch (scheme) {
        case kSchemeC40:
            return EncodeC40Text(C40CharSets, cursor);
        case kSchemeText:
            return EncodeC40Text(TextCharSets, cursor);
        case kSchemeX12:
            return EncodeX12(symbol, cursor, kRunEndsData);
        case kSchemeEdifact:
            return EncodeEdifact(symbol, cursor, kRunEndsData);
        case kSchemeBase256:
            return EncodeBase256(symbol, cursor, kRunEndsData);
        default:
            return EncodeAscii(cursor);
    }
}

}  // namespace

int32_t EncodeFixedScheme(Symbol& symbol, uint8_t* out, int32_t capacity) {
    if (!HasValidSizeRequest(symbol)) return kBadParameterError;
    EncoderCursor cursor = StartOfData(symbol, out, capacity);
    const int32_t produced = EncodeInScheme(symbol, cursor);
    if (produced < 0) return produced;
    if (cursor.remaining > 0) return kX12ByteError;  // C40 or Text past their value limit

    // C40 and Text leave the stream in their scheme; it returns to ASCII unless the data fills
    // the symbol exactly. An empty run took back its latch, so there is nothing to leave.
    if (symbol.scheme != kSchemeAscii && produced > 0 &&
        FindExactFitSize(symbol, cursor.count) == kAutomaticSize) {
        cursor.Put(kUnlatch);
    }
    if (FindExactFitSize(symbol, cursor.count) == kAutomaticSize) cursor.Put(kFirstPad);
    return cursor.count;
}

int32_t EncodeFixedScheme(Symbol& symbol) {
    return EncodeFixedScheme(symbol, symbol.codewords, kCodewordCapacity);
}

}  // namespace ecc200
