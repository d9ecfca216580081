// The smallest encodation's driver: searches, takes the size, and writes the stream of the
// ending that fits it (the search, the way back and the writer are in smallest_*.cpp).
#include "encodation/smallest.h"

#include <algorithm>
#include <cstring>

#include "core/status.h"
#include "encodation/encoder_cursor.h"
#include "encodation/stream_prefix.h"
#include "encodation/smallest_search.h"
#include "geometry/size_table.h"

namespace ecc200 {

using smallest::Ending;
using smallest::Search;

int32_t EncodeSmallest(Symbol& symbol) {
    if (symbol.sizeIndex != kAutomaticSize && !IsSizeIndex(symbol.sizeIndex)) {
        return kBadParameterError;
    }
    const DataWindow data = EncodedData(symbol);  // a macro's header and trailer left out
    const int32_t prefix = std::max(symbol.codewordCount, 0);
    Search search(data.bytes, data.length, symbol.options.gs1 != 0, prefix);
    search.Run();
    const int32_t needed = search.NeededCapacity();

    int32_t sizeIndex = symbol.sizeIndex;
    if (sizeIndex == kAutomaticSize) {
        sizeIndex = ChooseAutomaticSize(needed, symbol.options.shape);
        if (sizeIndex == kNoSize) return kTooLongForAllSizesError;
    } else if (SizeAt(sizeIndex).totalDataCodewords < needed) {
        return kFixedSizeTooSmallError;
    }
    const int32_t capacity = SizeAt(sizeIndex).totalDataCodewords;
    const Ending* ending = search.EndingFor(capacity);
    // Every capacity from the needed one on fits some ending; none fitting is an internal fault.
    const int32_t count =
        ending != nullptr ? search.Emit(*ending, capacity, symbol.codewords) : kInternalError;
    if (count == kInternalError) {
        std::strcpy(symbol.message, kMessageSmallestEncodationFault);
        return kInternalError;
    }
    symbol.sizeIndex = sizeIndex;
    symbol.scheme = kSchemeAscii;
    return count;
}

int32_t SmallestNeededCapacity(const uint8_t* data, int32_t length, bool gs1, int32_t prefixCount) {
    Search search(data, std::clamp(length, 0, kMaxDataLength), gs1, prefixCount);
    search.Run();
    return search.NeededCapacity();
}

}  // namespace ecc200
