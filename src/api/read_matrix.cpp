// The reading export: a module matrix back to its data, with the verdicts on the keyed marks.
#include <cstring>

#include "ecc200.h"

extern "C" {

ECC200_API int32_t ECC200_CALL ReadMatrix_ECC200(const uint8_t* modules, int32_t rows, int32_t cols,
                                                 const char* productId, const char* identityFile,
                                                 ECC200_Reading* reading) {
    (void)productId;
    (void)identityFile;
    if (modules == nullptr || reading == nullptr || rows < 1 || cols < 1) {
        return ECC200_ERR_PARAMETER;
    }
    std::memset(reading, 0, sizeof *reading);
    reading->rows = rows;
    reading->cols = cols;
    reading->eci = -1;
    return ECC200_ERR_UNREADABLE;  // placeholder until the decoder lands
}
}
