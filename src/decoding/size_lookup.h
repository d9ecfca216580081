// Finding a symbol's size from its dimensions.
#pragma once

#include <cstdint>

namespace ecc200 {

// The SizeIndex whose symbol has rows x cols modules, or kNoSize (-1) when no size has them.
int32_t SizeIndexOf(int32_t rows, int32_t cols);

}  // namespace ecc200
