// Helpers for the encodation tests: a symbol prepared as the encode pipeline prepares it, and
// readable byte strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "api/symbol.h"
#include "support/test_support.h"

namespace ecc200::testing {

// A symbol holding `data`, with the requested scheme and size copied into the in-use fields and
// an empty codeword stream, as the pipeline leaves it before encodation.
inline SymbolPtr PreparedSymbol(std::string_view data, int32_t scheme, int32_t sizeIndex) {
    SymbolPtr handle = MakeSymbol();
    if (!data.empty()) {
        EXPECT_EQ(SetData(handle, data), 0);
    }
    Symbol& symbol = Internals(handle);
    symbol.scheme = scheme;
    symbol.sizeIndex = sizeIndex;
    symbol.codewordCount = 0;
    return handle;
}

inline std::vector<int32_t> Stored(const uint8_t* codewords, int32_t count) {
    return std::vector<int32_t>(codewords, codewords + count);
}

inline std::string Repeat(std::string_view unit, int32_t times) {
    std::string out;
    for (int32_t i = 0; i < times; ++i) out += unit;
    return out;
}

}  // namespace ecc200::testing
