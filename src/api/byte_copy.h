// memcpy and memset for the short, variable lengths of the reset and the output copy.
//
// They live in their own file so that the calls stay calls: where the compiler can bound a length
// (a row of at most 255 modules, data of at most 3116 bytes) it expands std::memcpy and
// std::memset inline as a string instruction, whose start-up costs more than copying a short
// row; the library functions these call handle short lengths quickly.
#pragma once

#include <cstddef>

namespace ecc200 {

void CopyBytes(void* to, const void* from, std::size_t count);
void ZeroBytes(void* to, std::size_t count);

}  // namespace ecc200
