// GS1 data of the tool, checked and converted by the library (Gs1ElementString_ECC200): the
// bracketed text the user gives, the element string the symbol carries, the human-readable line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "encoder.h"

namespace ecc200_cli {

// The longest GS1 text read: far beyond any element string that fits, so an overlong field is
// still named rather than the whole text called too long.
inline constexpr std::size_t kMaxGs1TextLength = 1 << 20;

// The element string of GS1 text in bracketed form (or already an element string); one line end
// at the very end is ignored. A rule broken: ToolError kExitUsage "GS1 data: <reason>"; an
// element string too long for a symbol: kExitSymbolFailed.
std::string Gs1ElementString(const std::string& text, bool relations);

// "(01) 09501101530003 (17) 250101" for a checked element string.
std::string Gs1HumanReadable(const std::string& elementString);

// The bracketed form "(01)09501101530003(17)250101" of GS1 data read from a symbol (the form
// --gs1 takes); empty when the data breaks GS1's rules, as data from another encoder may.
std::string Gs1BracketedOrEmpty(const std::string& elementString);

// The value of ECC200_OPTION_GS1 for settings.
int32_t Gs1Option(const SymbolSettings& settings);

}  // namespace ecc200_cli
