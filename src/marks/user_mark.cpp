#include "marks/user_mark.h"

namespace ecc200 {

// Placeholder until the mark lands.
bool ApplyUserMark(Symbol& /*symbol*/) { return false; }

bool DeriveUserMarkValues(MarkState& /*state*/, int32_t /*dataLength*/, const uint8_t* /*data*/,
                          int32_t (&/*values*/)[10], int32_t /*symbolRows*/,
                          int32_t /*symbolCols*/) {
    return false;
}

}  // namespace ecc200
