#include "compact_samples.h"

#include <cstdio>
#include <string_view>

#include "ecc200.h"

namespace bench {
namespace {

constexpr std::array<std::string_view, 32> kWords{
    "the",  "dog",     "Lot",        "Part",   "Batch", "fox",   "Hello", "World",
    "123",  "Expiry",  "2025-01-01", "Serial", "No.",   "quick", "brown", "jumps",
    "over", "lazy",    "Order",      "#4711",  "Qty:",  "12",    "pcs",   "Made",
    "in",   "Germany", "Item",       "A-17",   "Box",   "of",    "24",    "SIZE XL"};
constexpr std::array<std::string_view, 6> kHosts{"www.example.com",  "example.org",
                                                 "shop.example.net", "EXAMPLE.COM",
                                                 "id.gs1.org",       "a.b.example.co.uk"};
constexpr std::string_view kPathChars = "abcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::string_view kLotChars = "ABCDEFGHJKLMNPQRSTUVWXYZ0123456789";
constexpr std::string_view kSerialChars =
    "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz0123456789-./";
constexpr std::string_view kDigitChars = "0123456789";

// The element string of bracketed GS1 text, as the library converts it; empty when refused.
std::string Gs1ElementString(const std::string& bracketed) {
    uint8_t out[ECC200_MAX_DATA_LENGTH];
    int32_t length = 0;
    if (Gs1ElementString_ECC200(bracketed.c_str(), 0, out, sizeof out, &length, nullptr, 0) !=
        ECC200_OK) {
        return {};
    }
    return {reinterpret_cast<const char*>(out), static_cast<std::size_t>(length)};
}

Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string Pick(SeededStream& stream, std::string_view alphabet, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(stream.Pick(alphabet));
    return text;
}

std::size_t Between(SeededStream& stream, std::size_t least, std::size_t most) {
    return least + static_cast<std::size_t>(stream.Next() % (most - least + 1));
}

Sample Text(SeededStream& stream) {
    std::string text;
    for (std::size_t words = Between(stream, 1, 8); words > 0; --words) {
        if (!text.empty()) text += ' ';
        text += kWords[stream.Next() % kWords.size()];
    }
    return {ToBytes(text), ""};
}

Sample Digits(SeededStream& stream) {
    return {ToBytes(Pick(stream, kDigitChars, Between(stream, 1, 120))), ""};
}

Sample Url(SeededStream& stream) {
    const std::string_view host = kHosts[stream.Next() % kHosts.size()];
    std::string url = host.front() == 'E' ? "HTTPS://" : "https://";
    url += host;
    for (std::size_t segments = Between(stream, 0, 3); segments > 0; --segments) {
        url += "/" + Pick(stream, kPathChars, Between(stream, 1, 12));
    }
    if (stream.Next() % 2 == 0) url += "?id=" + Pick(stream, kDigitChars, Between(stream, 1, 10));
    return {ToBytes(url), ""};
}

Sample Binary(SeededStream& stream) {
    Bytes data(Between(stream, 1, 150));
    for (auto& byte : data) byte = static_cast<std::uint8_t>(stream.Next() & 0xFF);
    return {data, ""};
}

std::string WithCheckDigit(const std::string& digits) {
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        sum += (digits.size() - i) % 2 == 1 ? 3 * (digits[i] - '0') : digits[i] - '0';
    }
    return digits + static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string Date(SeededStream& stream) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d%02d%02d", static_cast<int>(Between(stream, 20, 35)),
                  static_cast<int>(Between(stream, 1, 12)),
                  static_cast<int>(Between(stream, 1, 28)));
    return text;
}

// A GTIN, then some of expiry date, batch, serial, weight and order number.
Sample Gs1(SeededStream& stream) {
    std::string text = "(01)" + WithCheckDigit(Pick(stream, kDigitChars, 13));
    if (stream.Next() % 3 != 0) text += "(17)" + Date(stream);
    if (stream.Next() % 2 == 0) text += "(10)" + Pick(stream, kLotChars, Between(stream, 1, 10));
    if (stream.Next() % 2 == 0) {
        text += "(21)" + Pick(stream, kSerialChars, Between(stream, 1, 20));
    }
    if (stream.Next() % 4 == 0) text += "(3103)" + Pick(stream, kDigitChars, 6);
    if (stream.Next() % 4 == 0) text += "(400)" + Pick(stream, kLotChars, Between(stream, 1, 12));
    return {ToBytes(Gs1ElementString(text)), text};
}

}  // namespace

const std::array<SampleClass, 5> kSampleClasses{{
    {"text", Text},
    {"digits", Digits},
    {"URLs", Url},
    {"binary", Binary},
    {"GS1", Gs1},
}};

namespace {

Sample Gs1Example(const char* bracketed) {
    return {ToBytes(Gs1ElementString(bracketed)), bracketed};
}

}  // namespace

std::vector<std::pair<std::string, Sample>> NamedExamples() {
    return {
        {"Hello World 123", {ToBytes("Hello World 123"), ""}},
        {"dog Lot Part Batch fox", {ToBytes("dog Lot Part Batch fox"), ""}},
        {"Lot Date", {ToBytes("Lot Date"), ""}},
        {"9HR3Z6", {ToBytes("9HR3Z6"), ""}},
        {"https://www.example.com/products/12345",
         {ToBytes("https://www.example.com/products/12345"), ""}},
        {"(01)09501101530003(17)250101(10)ABC123",
         Gs1Example("(01)09501101530003(17)250101(10)ABC123")},
        {"(01)09501101530003(21)abc-1234(10)LOT42",
         Gs1Example("(01)09501101530003(21)abc-1234(10)LOT42")},
    };
}

}  // namespace bench
