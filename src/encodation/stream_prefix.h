// The codewords that open a stream before any data: reader programming or the structured append
// header, then an ECI designator or FNC1 in first position for GS1 data, or the macro 05/06
// codeword; and which data bytes the encoders then encode (a macro leaves out its header and
// trailer).
#pragma once

#include <cstdint>

#include "core/symbol.h"

namespace ecc200 {

// The largest ECI designators that one and two codewords carry; three carry up to 999999.
// One codeword: designator + 1. Two: (v / 254 + 128, v % 254 + 1) for v = designator - 127.
// Three: (v / 64516 + 192, v / 254 % 254 + 1, v % 254 + 1) for v = designator - 16383.
inline constexpr int32_t kEciOneCodewordMax = 126;
inline constexpr int32_t kEciTwoCodewordMax = 16382;

// Why the options cannot open a stream.
enum class PrefixRefusal {
    kNone,
    kConflict,                   // GS1 with an ECI, or GS1 data that starts with a group separator
    kAppendIncomplete,           // structured append without position, count and file identifier
    kReaderProgrammingCombined,  // reader programming with GS1 or structured append
};

struct StreamPrefix {
    int32_t length;  // codewords written (0..8), or kBadParameterError when refused
    PrefixRefusal refusal;
};

// Macro data: "[)>" RS "05" GS (or "06") ... RS EOT; the header and the trailer are implied by
// the macro codeword (kMacro05 or kMacro06) and restored by readers.
inline constexpr char kMacro05Header[] =
    "[)>\x1E"
    "05\x1D";
inline constexpr char kMacro06Header[] =
    "[)>\x1E"
    "06\x1D";
inline constexpr int32_t kMacroHeaderLength = sizeof kMacro05Header - 1;
inline constexpr char kMacroTrailer[] = "\x1E\x04";
inline constexpr int32_t kMacroTrailerLength = sizeof kMacroTrailer - 1;

// Writes the prefix that the symbol's options and data ask for at the start of `codewords`:
// 234 (reader programming) or 233 and its three codewords (structured append), then 241 and one
// to three codewords of an ECI designator, or FNC1 (232) for GS1 data, or 236/237 for macro data.
[[nodiscard]] StreamPrefix WriteStreamPrefix(Symbol& symbol);

// The data bytes that the encoders encode after the prefix.
struct DataWindow {
    const uint8_t* bytes;
    int32_t length;
};

// 5 or 6 when the data is written as a macro: the smallest encodation of the automatic scheme,
// no GS1, ECI, structured append or reader programming, and data that starts with "[)>" RS "05"
// GS (or "06") and ends with RS EOT. 0 otherwise.
[[nodiscard]] int32_t MacroOf(const Symbol& symbol);

// The whole data, or for macro data the bytes between its header and its trailer.
[[nodiscard]] DataWindow EncodedData(const Symbol& symbol);

}  // namespace ecc200
