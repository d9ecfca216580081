// Length of a zero-terminated text that may be far longer than any limit the library accepts.
#pragma once

#include <cstdint>

namespace ecc200 {

// Characters of text before its terminating zero, counting no further than limit + 1: a text
// over the limit is told apart without reading all of it.
constexpr int32_t BoundedLength(const char* text, int32_t limit) {
    int32_t length = 0;
    while (length <= limit && text[length] != '\0') ++length;
    return length;
}

}  // namespace ecc200
