// The codewords that open a stream before the data: the ECI designator or FNC1 for GS1 data.
#include "encodation/stream_prefix.h"

#include "encodation/encoder_cursor.h"

namespace ecc200 {

namespace {

// ECI designators take one codeword up to 126, two up to 16382 and three up to 999999.
int32_t WriteEciDesignator(int32_t eci, uint8_t* out) {
    if (eci <= 126) {
        out[0] = static_cast<uint8_t>(eci + 1);
        return 1;
    }
    if (eci <= 16382) {
        const int32_t v = eci - 127;
        out[0] = static_cast<uint8_t>(v / 254 + 128);
        out[1] = static_cast<uint8_t>(v % 254 + 1);
        return 2;
    }
    const int32_t v = eci - 16383;
    out[0] = static_cast<uint8_t>(v / 64516 + 192);
    out[1] = static_cast<uint8_t>(v / 254 % 254 + 1);
    out[2] = static_cast<uint8_t>(v % 254 + 1);
    return 3;
}

}  // namespace

int32_t WriteStreamPrefix(Symbol& symbol) {
    const SymbolOptions& options = symbol.options;
    if (options.gs1 != 0 && options.eci != 0) return kBadParameterError;
    if (options.gs1 != 0) {
        // FNC1 in first position stands for the start of GS1 data; a separator before the first
        // element string has no place in it and would make the symbol read as another kind.
        if (symbol.dataLength > 0 && symbol.data[0] == kGroupSeparator) return kBadParameterError;
        symbol.codewords[0] = kFnc1;
        return 1;
    }
    if (options.eci <= 0 || options.eci > kMaxEci) return 0;
    symbol.codewords[0] = kEci;
    return 1 + WriteEciDesignator(options.eci, symbol.codewords + 1);
}

}  // namespace ecc200
