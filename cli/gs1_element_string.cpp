#include "gs1_element_string.h"

#include <algorithm>
#include <optional>

#include "gs1_ai_table.h"

namespace ecc200_cli {
namespace {

using gs1::AiFormat;
using gs1::Charset;
using gs1::Part;

constexpr std::size_t kMaxAiDigits = 4;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool InCset82(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '%' && c <= '?') || c == '!' ||
           c == '"' || c == '_';
}

bool InCset39(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || c == '#' || c == '-' || c == '/';
}

bool InCset64(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
           c == '=';
}

bool InCharset(char c, Charset charset) {
    switch (charset) {
        case Charset::kDigits:
        case Charset::kDate:
            return IsDigit(c);
        case Charset::kCset82:
            return InCset82(c);
        case Charset::kCset39:
            return InCset39(c);
        case Charset::kCset64:
            return InCset64(c);
        case Charset::kMinus:
            return c == '-';
    }
    return false;
}

const char* CharsetName(Charset charset) {
    switch (charset) {
        case Charset::kDigits:
        case Charset::kDate:
            return "digits only";
        case Charset::kCset82:
            return "only A-Z, a-z, 0-9 and !\"%&'()*+,-./:;<=>?_";
        case Charset::kCset39:
            return "only A-Z, 0-9 and # - /";
        case Charset::kCset64:
            return "only A-Z, a-z, 0-9, - and _ (with = as padding)";
        case Charset::kMinus:
            return "only a '-' may follow the digits";
    }
    return "";
}

bool Matches(const AiFormat& format, std::string_view ai) {
    if (format.last.empty()) return ai == format.ai;
    if (ai.size() != format.ai.size()) return false;
    for (std::size_t i = 0; i < ai.size(); ++i) {
        if (ai[i] < format.ai[i] || ai[i] > format.last[i]) return false;
    }
    return true;
}

const AiFormat* FindAi(std::string_view ai) {
    const auto* end = std::end(gs1::kAiFormats);
    const auto* found = std::find_if(std::begin(gs1::kAiFormats), end,
                                     [ai](const AiFormat& format) { return Matches(format, ai); });
    return found == end ? nullptr : found;
}

bool NeedsSeparator(std::string_view ai) {
    return std::none_of(std::begin(gs1::kPredefinedLengthPrefixes),
                        std::end(gs1::kPredefinedLengthPrefixes),
                        [ai](std::string_view prefix) { return ai.starts_with(prefix); });
}

// GS1 mod-10: weights 3 and 1 alternate leftwards from the digit before the check digit.
bool CheckDigitHolds(std::string_view digits) {
    int sum = 0;
    const std::size_t payload = digits.size() - 1;
    for (std::size_t i = 0; i < payload; ++i) {
        const int weight = (payload - i) % 2 == 1 ? 3 : 1;
        sum += weight * (digits[i] - '0');
    }
    return (10 - sum % 10) % 10 == digits.back() - '0';
}

bool IsDate(std::string_view yymmdd) {
    const int month = (yymmdd[2] - '0') * 10 + (yymmdd[3] - '0');
    const int day = (yymmdd[4] - '0') * 10 + (yymmdd[5] - '0');
    constexpr int kDaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day <= kDaysIn[month - 1];
}

std::string Count(std::size_t n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
}

struct Bounds {
    std::size_t least = 0;
    std::size_t most = 0;
};

Bounds LengthBounds(const AiFormat& format) {
    Bounds bounds;
    for (const Part& part : format.parts) {
        bounds.least += part.minLength;
        bounds.most += part.maxLength;
    }
    return bounds;
}

std::string LengthRule(const AiFormat& format) {
    const Bounds bounds = LengthBounds(format);
    const bool digitsOnly =
        std::all_of(format.parts.begin(), format.parts.end(), [](const Part& p) {
            return p.maxLength == 0 || p.charset == Charset::kDigits || p.charset == Charset::kDate;
        });
    const char* unit = digitsOnly ? "digit" : "character";
    if (bounds.least == bounds.most) return "exactly " + Count(bounds.most, unit);
    return std::to_string(bounds.least) + " to " + Count(bounds.most, unit);
}

// Why the value does not fit the AI's format, or nothing when it does.
std::optional<std::string> CheckValue(const AiFormat& format, std::string_view value) {
    const Bounds bounds = LengthBounds(format);
    if (value.size() < bounds.least || value.size() > bounds.most) {
        return "its value must have " + LengthRule(format) + ", not " +
               std::to_string(value.size());
    }
    std::size_t at = 0;
    for (const Part& part : format.parts) {
        if (part.maxLength == 0) break;
        // Only the last part varies in length, so a part takes its fixed length or the rest.
        const std::size_t length =
            part.minLength == part.maxLength ? part.minLength : value.size() - at;
        const std::string_view piece = value.substr(at, length);
        for (std::size_t i = 0; i < piece.size(); ++i) {
            if (!InCharset(piece[i], part.charset)) {
                return "character " + std::to_string(at + i + 1) + " of its value, '" +
                       std::string(1, piece[i]) + "', is not allowed: " + CharsetName(part.charset);
            }
        }
        if (part.charset == Charset::kDate && !IsDate(piece)) {
            return "'" + std::string(piece) + "' is not a date in the form YYMMDD";
        }
        at += length;
    }
    if (format.checkDigit && !CheckDigitHolds(value.substr(0, format.parts[0].maxLength))) {
        return "the check digit of '" + std::string(value.substr(0, format.parts[0].maxLength)) +
               "' is wrong";
    }
    return std::nullopt;
}

// Reads the value after an AI up to the next unescaped '(' or the end; advances at past it.
std::string ReadValue(std::string_view text, std::size_t& at) {
    std::string value;
    while (at < text.size() && text[at] != '(') {
        if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == '(') ++at;
        value += text[at++];
    }
    return value;
}

Gs1Conversion Refuse(std::string message) {
    return {"", "GS1 data: " + std::move(message)};
}

}  // namespace

Gs1Conversion ConvertGs1Bracketed(std::string_view text) {
    if (text.ends_with('\n')) text.remove_suffix(text.ends_with("\r\n") ? 2 : 1);
    if (!text.starts_with('(')) {
        return Refuse("it must start with an AI in parentheses, such as (01)");
    }
    std::string elements;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t close = text.find(')', at);
        const std::string_view ai = close == std::string_view::npos
                                        ? text.substr(at + 1)
                                        : text.substr(at + 1, close - at - 1);
        if (close == std::string_view::npos || ai.size() < 2 || ai.size() > kMaxAiDigits ||
            !std::all_of(ai.begin(), ai.end(), IsDigit)) {
            return Refuse("'(" + std::string(ai.substr(0, kMaxAiDigits + 1)) +
                          "' does not start an AI: two to four digits in parentheses");
        }
        const AiFormat* format = FindAi(ai);
        if (format == nullptr) return Refuse("(" + std::string(ai) + ") is not a known AI");
        at = close + 1;
        const std::string value = ReadValue(text, at);
        if (auto problem = CheckValue(*format, value)) {
            return Refuse("field (" + std::string(ai) + "): " + *problem);
        }
        elements.append(ai).append(value);
        if (at < text.size() && NeedsSeparator(ai)) elements += kGroupSeparator;
    }
    return {elements, ""};
}

std::string Gs1HumanReadable(std::string_view text) {
    std::string readable;
    std::size_t at = 0;
    while (at < text.size()) {
        // The AI: the shortest run of two to four digits that the table knows.
        const AiFormat* format = nullptr;
        std::size_t aiLength = 2;
        for (; aiLength <= kMaxAiDigits && at + aiLength <= text.size(); ++aiLength) {
            format = FindAi(text.substr(at, aiLength));
            if (format != nullptr) break;
        }
        if (format == nullptr) return {};
        const std::string_view ai = text.substr(at, aiLength);
        at += aiLength;
        // Its value: the fixed length where a prefix fixes it, else up to the next GS.
        const std::size_t most = LengthBounds(*format).most;
        const std::size_t end =
            NeedsSeparator(ai) ? std::min(text.find(kGroupSeparator, at), text.size()) : at + most;
        if (end > text.size() || end == at || end - at > most) return {};
        const std::string_view value = text.substr(at, end - at);
        if (value.find(kGroupSeparator) != std::string_view::npos) return {};
        readable += "(" + std::string(ai) + ")" + std::string(value);
        at = end;
        if (at < text.size() && text[at] == kGroupSeparator) ++at;
    }
    return readable;
}

}  // namespace ecc200_cli
