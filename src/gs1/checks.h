// The character sets and checks of GS1 AI values, each a pure function of one component's text.
#pragma once

#include <cstddef>
#include <string_view>

#include "gs1/ai_entry.h"

namespace ecc200::gs1 {

// The position of the first character of value outside cset (for base64url also a '=' that is
// not the last character), or value.size() when all are in it.
std::size_t FirstOutsideCset(Cset cset, std::string_view value);

// The character set in plain words, for messages.
const char* CsetName(Cset cset);

// Null when value passes check; otherwise the rule it breaks, in plain words.
const char* FailedCheck(Check check, std::string_view value);

}  // namespace ecc200::gs1
