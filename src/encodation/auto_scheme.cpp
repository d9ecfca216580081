// The automatic scheme's driver: scans the data, asks the look-ahead where a run ends, and
// encodes each run in its scheme between latch and unlatch.
#include "encodation/auto_scheme.h"

#include "encodation/ascii.h"
#include "encodation/base256.h"
#include "encodation/c40_text.h"
#include "encodation/char_classes.h"
#include "encodation/data_cursor.h"
#include "encodation/edifact.h"
#include "encodation/exact_fit.h"
#include "encodation/lookahead.h"
#include "encodation/x12.h"
#include "geometry/size_table.h"

namespace ecc200 {

namespace {

// Where the scan stands: the current run is data[start, next), in the symbol's current scheme.
struct Scan {
    Symbol& symbol;
    const uint8_t* data;
    int32_t length;
    int32_t next = 0;  // the byte to scan next
    int32_t start = 0;
    int32_t suggestion = kSchemeAscii;  // the result of the most recent look-ahead test
    bool firstByteUntested = false;     // the ASCII run at `start` follows a cut-back X12 run

    int32_t Left() const { return length - next; }
    uint8_t At(int32_t offset) const { return data[next + offset]; }

    template <class Predicate>
    bool NextAre(int32_t count, Predicate predicate) const {
        if (Left() < count) return false;
        for (int32_t k = 0; k < count; ++k) {
            if (!predicate(At(k))) return false;
        }
        return true;
    }
};

// Tests the byte at `next` and steps over it when the test keeps the current scheme. False when the
// test chose another one: the run ends before that byte.
bool TestAndStep(Scan& scan) {
    scan.suggestion = LookAheadTest(scan.symbol, scan.data + scan.next, scan.Left());
    if (scan.suggestion != scan.symbol.scheme) return false;
    ++scan.next;
    return true;
}

bool StepAscii(Scan& scan) {
    if (scan.NextAre(2, IsDigit)) {
        scan.next += 2;
        return true;
    }
    const bool untested = scan.next == scan.start && (scan.start > 0 || scan.firstByteUntested);
    if (untested) {
        ++scan.next;
        return true;
    }
    return TestAndStep(scan);
}

bool StepC40(Scan& scan) {
    if (scan.next == scan.start) {
        ++scan.next;
        return true;
    }
    if (scan.NextAre(3, IsUpper)) {
        scan.next += 3;
        return true;
    }
    if ((scan.next - scan.start) % 3 != 0 && IsC40Basic(scan.At(0))) {
        ++scan.next;
        return true;
    }
    return TestAndStep(scan);
}

bool StepText(Scan& scan) {
    while (scan.NextAre(3, IsLower)) scan.next += 3;
    if (scan.Left() == 0) return true;
    if (scan.next == scan.start) {
        ++scan.next;
        return true;
    }
    return TestAndStep(scan);
}

bool StepX12(Scan& scan) {
    if (scan.next == scan.start) {
        ++scan.next;
        return true;
    }
    if (scan.NextAre(3, IsX12) && !scan.NextAre(2, IsDigit)) {
        scan.next += 3;
        return true;
    }
    if ((scan.next - scan.start) % 3 != 0 && IsX12(scan.At(0))) {
        ++scan.next;
        return true;
    }
    return TestAndStep(scan);
}

bool StepEdifact(Scan& scan) {
    if (scan.NextAre(4, IsEdifact)) {
        scan.next += 4;
        return true;
    }
    return TestAndStep(scan);
}

bool StepBase256(Scan& scan) {
    if (scan.next == scan.start || IsExtended(scan.At(0))) {
        ++scan.next;
        return true;
    }
    return TestAndStep(scan);
}

bool Step(Scan& scan) {
    switch (scan.symbol.scheme) {
        case kSchemeC40:
            return StepC40(scan);
        case kSchemeText:
            return StepText(scan);
        case kSchemeX12:
            return StepX12(scan);
        case kSchemeEdifact:
            return StepEdifact(scan);
        case kSchemeBase256:
            return StepBase256(scan);
        default:
            return StepAscii(scan);
    }
}

// Advances `next` through the data until its end or until a test chooses another scheme.
void ScanRun(Scan& scan) {
    while (scan.next < scan.length && Step(scan)) {
    }
}

// The look-ahead can keep a byte outside the X12 set inside an X12 run. Such a run is cut back
// to the whole triplets before the triplet that holds the byte, and the stream goes on in ASCII
// from there, so that every input encodes.
int32_t EncodeX12Run(Scan& scan, EncoderCursor& cursor, bool atEnd) {
    const int32_t runLength = scan.next - scan.start;
    const int32_t inTriplets = 3 * (runLength / 3);
    int32_t offending = 0;
    while (offending < inTriplets && IsX12(scan.data[scan.start + offending])) ++offending;
    if (offending == inTriplets) return EncodeX12(scan.symbol, cursor, atEnd);

    const int32_t kept = 3 * (offending / 3);
    scan.next = scan.start + kept;
    cursor.remaining = kept;
    scan.suggestion = kSchemeAscii;
    scan.firstByteUntested = true;
    if (kept > 0) return EncodeX12(scan.symbol, cursor, false);
    if (cursor.Previous() == kLatchX12) cursor.DropPrevious();
    scan.symbol.scheme = kSchemeAscii;
    return 0;
}

// Encodes the run data[start, next) in the current scheme and leaves the stream in ASCII.
int32_t EncodeRun(Scan& scan, EncoderCursor& cursor) {
    const bool atEnd = scan.next == scan.length;
    Symbol& symbol = scan.symbol;
    switch (symbol.scheme) {
        case kSchemeC40:
        case kSchemeText: {
            const CharSetTable& sets = symbol.scheme == kSchemeC40 ? C40CharSets : TextCharSets;
            const int32_t produced = EncodeC40Text(sets, cursor);
            if (produced > 0) cursor.Put(kUnlatch);
            symbol.scheme = kSchemeAscii;
            return produced;
        }
        case kSchemeX12:
            return EncodeX12Run(scan, cursor, atEnd);
        case kSchemeEdifact:
            return EncodeEdifact(symbol, cursor, atEnd);
        case kSchemeBase256: {
            const int32_t produced = EncodeBase256(symbol, cursor, atEnd);
            symbol.scheme = kSchemeAscii;
            return produced;
        }
        default:
            return EncodeAscii(cursor);
    }
}

}  // namespace

int32_t EncodeAutoScheme(Symbol& symbol, uint8_t* out, int32_t capacity) {
    if (!HasValidSizeRequest(symbol)) return kBadParameterError;
    EncoderCursor cursor = StartOfData(symbol, out, capacity);
    Scan scan{.symbol = symbol, .data = symbol.data, .length = cursor.remaining};
    symbol.scheme = kSchemeAscii;
    cursor.remaining = 0;

    while (scan.next < scan.length) {
        ScanRun(scan);
        cursor.remaining = scan.next - scan.start;
        scan.firstByteUntested = false;
        const int32_t produced = EncodeRun(scan, cursor);
        if (produced < 0) return produced;
        // C40 and Text stop at their value limit; the bytes they left are scanned again.
        scan.next -= cursor.remaining;
        cursor.remaining = 0;
        if (scan.next < scan.length && scan.suggestion != kSchemeAscii) {
            cursor.Put(LatchOf(scan.suggestion));
            symbol.scheme = scan.suggestion;
        }
        scan.start = scan.next;
    }

    const int32_t padCapacity = CapacityForStream(symbol, cursor.count);
    if (padCapacity > cursor.count) cursor.Put(kFirstPad);
    return cursor.count;
}

int32_t EncodeAutoScheme(Symbol& symbol) {
    return EncodeAutoScheme(symbol, symbol.codewords, kCodewordCapacity);
}

}  // namespace ecc200
