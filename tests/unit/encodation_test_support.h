// The encodation tests' fixture: a symbol holding `data`, with the requested scheme and size in
// the in-use fields and an empty codeword stream, as the encode pipeline leaves it before
// encodation.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/symbol.h"
#include "support/test_support.h"

namespace ecc200::testing {

inline SymbolPtr PreparedSymbol(std::string_view data, int32_t scheme, int32_t sizeIndex) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(data.empty() ? 0 : SetData(handle, data), 0);  // no empty data through the API
    Symbol& symbol = Internals(handle);
    symbol.scheme = scheme;
    symbol.sizeIndex = sizeIndex;
    symbol.codewordCount = 0;
    return handle;
}

}  // namespace ecc200::testing
