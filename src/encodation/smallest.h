// The smallest encodation: the shortest codeword stream over all six schemes and every switch
// between them, found by a shortest-path search over encoder states.
//
// What "shortest" means: a stream fits a data capacity C when it is no longer than C and reads
// back correctly in a symbol of that capacity. Near the end of a symbol, readers follow rules that
// depend on the codewords left (one codeword left after C40, Text or X12 is read as ASCII; two or
// fewer left at the start of an EDIFACT group are read as ASCII; a Base 256 length of 0 runs to
// the end), so whether a stream fits depends on C and not on its length alone. The needed
// capacity of the data is the least C that some stream fits; the encodation takes the first size
// (fixed, or of the automatic order) with at least that capacity and writes a stream that fits it.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// Encodes symbol.data after the codewordCount prefix codewords already in symbol.codewords, GS
// bytes as FNC1 when options.gs1 is set. Takes the requested size (sizeIndex) or, when automatic,
// the first size of the automatic order for options.shape that the data fits, and fixes it as
// sizeIndex. Leaves `scheme` at ASCII. Returns the number of data codewords written (with the
// first pad codeword where there is room), or -1 when a fixed size is too small, -2 when no size
// of the order holds the data.
[[nodiscard]] int32_t EncodeSmallest(Symbol& symbol);

// The needed capacity (see above) of `length` bytes after `prefixCount` prefix codewords: the
// least number of data codewords that a symbol must have for some stream of them to fit it.
[[nodiscard]] int32_t SmallestNeededCapacity(const uint8_t* data, int32_t length, bool gs1,
                                             int32_t prefixCount);

}  // namespace ecc200
