// The codeword count export: how many data codewords a finished symbol holds before its padding,
// read from its modules the way the decoder reads them (its size lookup, its copy of the data
// regions and its placement walk), so that symbols of any encoder can be compared.
#include "core/symbol.h"
#include "decoding/codeword_reading.h"
#include "decoding/mapping_extraction.h"
#include "decoding/size_lookup.h"
#include "ecc/reed_solomon.h"
#include "ecc200.h"
#include "encodation/encoder_cursor.h"
#include "geometry/size_table.h"

extern "C" {

ECC200_API int32_t ECC200_CALL CountDataCodewords_ECC200(const uint8_t* modules, int32_t rows,
                                                         int32_t cols) {
    using namespace ecc200;
    const int32_t sizeIndex = SizeIndexOf(rows, cols);
    if (modules == nullptr || sizeIndex == kNoSize) return -ECC200_ERR_PARAMETER;
    const SymbolSize& size = SizeAt(sizeIndex);
    MappingMatrix mapping;
    CopyMappingMatrix(modules, size, mapping);
    // The data codewords come first in placement order: interleaving leaves them in stream order.
    uint8_t codewords[kCodewordCapacity];
    ReadCodewords(mapping, size, codewords);
    int32_t end = size.totalDataCodewords;
    while (end > 0 && codewords[end - 1] == PadCodewordAt(end)) --end;
    // A randomised pad is never 129, so the first pad is where the run of pads stops.
    if (end > 0 && codewords[end - 1] == kFirstPad) return end - 1;
    return size.totalDataCodewords;
}
}
