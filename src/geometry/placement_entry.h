// One codeword bit's module in the mapping matrix, row 0 at the top.
#pragma once

#include <cstdint>

namespace ecc200 {

struct PlacementEntry {
    uint8_t row;
    uint8_t col;
};

}  // namespace ecc200
