// Data codewords back to the data bytes, in every codeword form a symbol may use.
#pragma once

#include <cstdint>

#include "ecc200.h"

namespace ecc200 {

// Decodes `count` data codewords into reading.data and dataLength and sets gs1, eci,
// readerProgramming, macro, the structured append fields and symbologyId (the other fields are left
// alone; eci must be -1 on entry). False when the codewords are not a valid stream: a codeword that
// no form allows where it stands, a field that runs past the data, or more bytes than a reading
// holds.
[[nodiscard]] bool DecodeDataCodewords(const uint8_t* codewords, int32_t count,
                                       ECC200_Reading& reading);

}  // namespace ecc200
