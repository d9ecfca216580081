// Character classes and small text helpers shared by the GS1 checks and the element string
// parser.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ecc200::gs1 {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
constexpr bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The part of text from position first, at most count characters, empty when first is past the
// end. Unlike substr it never throws: the library links no exception support (the Windows DLL
// would need start-up code for it).
constexpr std::string_view Slice(std::string_view text, std::size_t first,
                                 std::size_t count = std::string_view::npos) {
    if (first > text.size()) return {};
    return std::string_view(text.data() + first, std::min(count, text.size() - first));
}

constexpr bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

// The value of a run of digits (at most 18, which the callers guarantee).
constexpr int64_t NumberOf64(std::string_view digits) {
    int64_t value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

constexpr int NumberOf(std::string_view digits) {
    return static_cast<int>(NumberOf64(digits));
}

// Whether code is one of the space-separated codes of list.
constexpr bool InCodeList(std::string_view list, std::string_view code) {
    if (code.empty()) return false;
    while (!list.empty()) {
        const std::size_t space = list.find(' ');
        if (Slice(list, 0, space) == code) return true;
        if (space == std::string_view::npos) break;
        list.remove_prefix(space + 1);
    }
    return false;
}

}  // namespace ecc200::gs1
