// How many data codewords a finished symbol holds, read from its modules alone, so that symbols of
// any encoder can be compared: the codewords are read back through the standard module placement
// and the pad codewords at the end of the data are not counted.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace ecc200_cli {

// The data codewords before the padding of a rows x cols symbol, modules top row first (nonzero
// for dark); nothing when rows x cols is not a symbol size or modules is too short. A stream that
// fills the symbol and happens to end like a padding (codeword 129) counts one codeword short.
std::optional<int> CountDataCodewords(int rows, int cols, std::span<const uint8_t> modules);

}  // namespace ecc200_cli
