// Error correction of a whole codeword stream: every interleaved block gathered, corrected and
// put back.
#pragma once

#include <cstdint>

#include "decoding/reed_solomon_decoder.h"
#include "ecc200.h"
#include "geometry/size_table.h"

namespace ecc200 {

using StreamCorrections = BlockCorrection[ECC200_MAX_BLOCKS];

// Corrects the TotalCodewords(size) codewords in place, block by block, and records each block's
// corrections. False when any block cannot be corrected (the stream is then partly corrected).
[[nodiscard]] bool CorrectCodewordStream(uint8_t* codewords, const SymbolSize& size,
                                         StreamCorrections& corrections);

}  // namespace ecc200
