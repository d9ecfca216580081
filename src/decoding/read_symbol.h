// Reading a symbol from its module matrix: the decoding subsystem's entry point.
#pragma once

#include <cstdint>

#include "core/status.h"
#include "ecc200.h"

namespace ecc200 {

// Reads the rows x cols module matrix (top row first, nonzero dark) into reading, lifting the
// product mark of productId (null for none) and checking the user mark against the identity in
// identityFile (null for the default file). reading is reset first; rows and cols are always
// set. Returns kStatusOk, kStatusBadParameter (no symbol size, or a productId that is empty or
// over 100 characters), kStatusNoIdentity (productId given and no usable identity) or
// kStatusUnreadable. Allocates nothing.
[[nodiscard]] StatusCode ReadSymbol(const uint8_t* modules, int32_t rows, int32_t cols,
                                    const char* productId, const char* identityFile,
                                    ECC200_Reading& reading);

}  // namespace ecc200
