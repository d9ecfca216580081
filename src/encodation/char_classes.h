// Byte classes that decide which scheme can carry a data byte.
#pragma once

#include <cstdint>

namespace ecc200 {

constexpr bool IsDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsUpper(uint8_t c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsLower(uint8_t c) {
    return c >= 'a' && c <= 'z';
}
constexpr bool IsExtended(uint8_t c) {
    return c >= 128;
}

// Bytes that C40 carries as a single value: space, digits and upper-case letters.
constexpr bool IsC40Basic(uint8_t c) {
    return c == ' ' || IsDigit(c) || IsUpper(c);
}
// Bytes that Text carries as a single value: space, digits and lower-case letters.
constexpr bool IsTextBasic(uint8_t c) {
    return c == ' ' || IsDigit(c) || IsLower(c);
}
// The 40 characters of ANSI X12: carriage return, "*", ">", space, digits, upper-case letters.
constexpr bool IsX12(uint8_t c) {
    return c == '\r' || c == '*' || c == '>' || IsC40Basic(c);
}
// EDIFACT carries the bytes 32..94.
constexpr bool IsEdifact(uint8_t c) {
    return c >= 32 && c <= 94;
}

}  // namespace ecc200
