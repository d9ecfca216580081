#include "marks/product_mark.h"

namespace ecc200 {

// Placeholder until the mark lands.
bool ApplyProductMark(MarkState& /*state*/, uint8_t (&/*matrix*/)[kMatrixSide][kMatrixSide],
                      const char* /*productId*/, int32_t /*rows*/, int32_t /*cols*/) {
    return false;
}

}  // namespace ecc200
