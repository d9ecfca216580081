// The reading export: a module matrix back to its data, with the verdicts on the keyed marks.
#include "decoding/read_symbol.h"
#include "ecc200.h"

extern "C" {

ECC200_API int32_t ECC200_CALL ReadMatrix_ECC200(const uint8_t* modules, int32_t rows, int32_t cols,
                                                 const char* productId, const char* identityFile,
                                                 ECC200_Reading* reading) {
    if (reading == nullptr) return ECC200_ERR_PARAMETER;
    return ecc200::ReadSymbol(modules, rows, cols, productId, identityFile, *reading);
}
}
