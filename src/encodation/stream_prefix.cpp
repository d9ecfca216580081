// The stream prefix and the data window of macro data; see stream_prefix.h.
#include "encodation/stream_prefix.h"

#include <algorithm>
#include <cstring>

#include "encodation/encoder_cursor.h"

namespace ecc200 {

namespace {

constexpr int32_t kMacroVersionAt = 5;  // the "5" or "6" of a macro header

// ECI designators take one codeword up to 126, two up to 16382 and three up to 999999.
int32_t WriteEciDesignator(int32_t eci, uint8_t* out) {
    if (eci <= kEciOneCodewordMax) {
        out[0] = static_cast<uint8_t>(eci + 1);
        return 1;
    }
    if (eci <= kEciTwoCodewordMax) {
        const int32_t v = eci - (kEciOneCodewordMax + 1);
        out[0] = static_cast<uint8_t>(v / 254 + 128);
        out[1] = static_cast<uint8_t>(v % 254 + 1);
        return 2;
    }
    const int32_t v = eci - (kEciTwoCodewordMax + 1);
    out[0] = static_cast<uint8_t>(v / 64516 + 192);
    out[1] = static_cast<uint8_t>(v / 254 % 254 + 1);
    out[2] = static_cast<uint8_t>(v % 254 + 1);
    return 3;
}

bool UsesStructuredAppend(const SymbolOptions& options) {
    return options.appendPosition != 0 || options.appendCount != 0 || options.appendFileId != 0;
}

// The structured append header: 233, the symbol sequence indicator (position - 1 in the high
// four bits, 17 - count in the low four) and the two file identifier bytes. False when the
// options do not describe a symbol of a set.
bool WriteStructuredAppend(const SymbolOptions& options, uint8_t* out) {
    const int32_t position = options.appendPosition, count = options.appendCount;
    if (position < 1 || count < 2 || position > count || options.appendFileId == 0) return false;
    out[0] = kStructuredAppend;
    out[1] = static_cast<uint8_t>((position - 1) * 16 + (17 - count));
    out[2] = static_cast<uint8_t>(options.appendFileId / 256);
    out[3] = static_cast<uint8_t>(options.appendFileId % 256);
    return true;
}

StreamPrefix Refuse(PrefixRefusal refusal) {
    return {kBadParameterError, refusal};
}

}  // namespace

int32_t MacroOf(const Symbol& symbol) {
    const SymbolOptions& options = symbol.options;
    if (options.encodation != ECC200_ENCODATION_SMALLEST ||
        symbol.requestedScheme != ECC200_SCHEME_AUTO || options.gs1 != 0 || options.eci != 0 ||
        UsesStructuredAppend(options) || options.readerProgramming != 0) {
        return 0;
    }
    const int32_t length = std::clamp(symbol.dataLength, 0, kMaxDataLength);
    if (length < kMacroHeaderLength + kMacroTrailerLength) return 0;
    const uint8_t* data = symbol.data;
    const uint8_t version = data[kMacroVersionAt];
    if (version != '5' && version != '6') return 0;
    if (std::memcmp(data, kMacro05Header, kMacroVersionAt) != 0 ||
        data[kMacroVersionAt + 1] != kMacro05Header[kMacroVersionAt + 1] ||
        std::memcmp(data + length - kMacroTrailerLength, kMacroTrailer, kMacroTrailerLength) != 0) {
        return 0;
    }
    return version - '0';
}

DataWindow EncodedData(const Symbol& symbol) {
    const int32_t length = std::clamp(symbol.dataLength, 0, kMaxDataLength);
    if (MacroOf(symbol) == 0) return {symbol.data, length};
    return {symbol.data + kMacroHeaderLength, length - kMacroHeaderLength - kMacroTrailerLength};
}

StreamPrefix WriteStreamPrefix(Symbol& symbol) {
    const SymbolOptions& options = symbol.options;
    uint8_t* out = symbol.codewords;
    int32_t length = 0;
    if (options.readerProgramming != 0) {
        // A reader programming symbol configures the reader; it carries no GS1 data and is no
        // part of a set.
        if (options.gs1 != 0 || UsesStructuredAppend(options)) {
            return Refuse(PrefixRefusal::kReaderProgrammingCombined);
        }
        out[length++] = kReaderProgramming;
    } else if (UsesStructuredAppend(options)) {
        if (!WriteStructuredAppend(options, out)) return Refuse(PrefixRefusal::kAppendIncomplete);
        length += 4;
    }
    if (options.gs1 != 0 && options.eci != 0) return Refuse(PrefixRefusal::kConflict);
    if (options.gs1 != 0) {
        // FNC1 in first position (after a structured append header) stands for the start of GS1
        // data; a separator before the first element string has no place in it and would make
        // the symbol read as another kind.
        if (symbol.dataLength > 0 && symbol.data[0] == kGroupSeparator) {
            return Refuse(PrefixRefusal::kConflict);
        }
        out[length++] = kFnc1;
        return {length, PrefixRefusal::kNone};
    }
    if (options.eci > 0 && options.eci <= kMaxEci) {
        out[length++] = kEci;
        length += WriteEciDesignator(options.eci, out + length);
        return {length, PrefixRefusal::kNone};
    }
    const int32_t macro = MacroOf(symbol);
    if (macro != 0) out[length++] = static_cast<uint8_t>(kMacro05 + macro - 5);
    return {length, PrefixRefusal::kNone};
}

}  // namespace ecc200
