// Reading the codewords out of a mapping matrix in the placement order.
#pragma once

#include <cstdint>

#include "decoding/mapping_extraction.h"
#include "geometry/size_table.h"

namespace ecc200 {

// Fills codewords[0 .. TotalCodewords(size) - 1] from the modules of `mapping` (row 0 at the
// bottom), most significant bit first, through the same placement walk that the encoder's map is
// built from. Allocates nothing.
void ReadCodewords(const MappingMatrix& mapping, const SymbolSize& size, uint8_t* codewords);

}  // namespace ecc200
