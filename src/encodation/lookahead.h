// Scoring the next few data bytes in all six schemes to choose where the stream goes next.
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// Scores the window of the first min(length, 6) bytes of `text` from the current `scheme` and
// returns the SchemeId (1..6) with the smallest count; ties go to the lower SchemeId. The counts
// are left in `lookaheadCounts` (single precision, every addition rounded at once).
[[nodiscard]] int32_t LookAheadTest(Symbol& symbol, const uint8_t* text, int32_t length);

}  // namespace ecc200
