// GS1 data as the library checks and converts it. The element string is what an encode with
// ECC200_OPTION_GS1 takes: AIs and their values run together, the GS byte 0x1D after every field
// that is not of predefined length and not the last. The bracketed form writes each AI in
// parentheses, "(01)09501101530003(10)ABC\(1\)", with "\(" and "\)" for parentheses in a value.
#pragma once

#include <cstdint>
#include <string_view>

#include "gs1/ai_entry.h"
#include "gs1/message.h"

namespace ecc200::gs1 {

inline constexpr char kGroupSeparator = '\x1d';
inline constexpr int32_t kMaxElementStringLength = 3116;

enum class Verdict { kValid, kBroken, kTooLong };

// The table row of an AI written as its digits, or null when GS1 has no such AI.
const AiEntry* FindAi(std::string_view digits);

// Checks every field of an element string against its AI's format and checks, and with relations
// the whole string: every requirement of each AI met, no excluded pair, no AI repeated with
// another value. The first fault found is written to message.
Verdict CheckElementString(std::string_view data, bool relations, Message& message);

// Converts the bracketed form (zero-terminated) into an element string of at most capacity bytes
// and checks it as CheckElementString does. length receives the bytes written.
Verdict ConvertBracketed(const char* text, bool relations, uint8_t* out, int32_t capacity,
                         int32_t& length, Message& message);

// How WriteFields writes a valid element string: the human-readable line
// "(01) 09501101530003 (10) A(1)", or the bracketed form "(01)09501101530003(10)A\(1\)".
enum class FieldStyle { kHumanReadable, kBracketed };

// Writes a valid element string's fields in style into out when they fit capacity; returns
// their length either way.
int32_t WriteFields(std::string_view data, FieldStyle style, char* out, int32_t capacity);

}  // namespace ecc200::gs1
