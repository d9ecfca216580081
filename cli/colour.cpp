#include "colour.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace ecc200_cli {
namespace {

struct NamedColour {
    std::string_view name;
    Colour colour;
};

constexpr std::array<NamedColour, 11> kNamedColours{{
    {"black", kBlack},
    {"white", kWhite},
    {"red", {255, 0, 0, 255}},
    {"green", {0, 128, 0, 255}},
    {"blue", {0, 0, 255, 255}},
    {"yellow", {255, 255, 0, 255}},
    {"cyan", {0, 255, 255, 255}},
    {"magenta", {255, 0, 255, 255}},
    {"grey", {128, 128, 128, 255}},
    {"gray", {128, 128, 128, 255}},
    {"transparent", {255, 255, 255, 0}},
}};

std::optional<uint8_t> HexPair(std::string_view text) {
    int value = 0;
    for (char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : c >= 'a' && c <= 'f'                      ? c - 'a' + 10
                          : c >= 'A' && c <= 'F'                      ? c - 'A' + 10
                                                                      : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<uint8_t>(value);
}

std::optional<Colour> ParseHex(std::string_view digits) {
    if (digits.size() != 6 && digits.size() != 8) return std::nullopt;
    uint8_t channels[4] = {0, 0, 0, 255};
    for (std::size_t i = 0; i * 2 < digits.size(); ++i) {
        const auto channel = HexPair(digits.substr(i * 2, 2));
        if (!channel) return std::nullopt;
        channels[i] = *channel;
    }
    return Colour{channels[0], channels[1], channels[2], channels[3]};
}

// sRGB channel to linear light.
double Linear(uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of colour laid over white.
double LuminanceOverWhite(const Colour& colour) {
    const double a = colour.alpha / 255.0;
    const auto over = [a](uint8_t channel) { return a * Linear(channel) + (1 - a); };
    return 0.2126 * over(colour.red) + 0.7152 * over(colour.green) + 0.0722 * over(colour.blue);
}

}  // namespace

std::string Colour::Hex() const {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", red, green, blue);
    return text;
}

std::optional<Colour> ParseColour(std::string_view text) {
    if (!text.empty() && text.front() == '#') return ParseHex(text.substr(1));
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const NamedColour& named : kNamedColours) {
        if (named.name == lower) return named.colour;
    }
    return std::nullopt;
}

std::string ColourNames() {
    std::string names;
    for (const NamedColour& named : kNamedColours) {
        if (!names.empty()) names += ", ";
        names += named.name;
    }
    return names;
}

double LuminanceDifference(const Colour& dark, const Colour& light) {
    return std::fabs(LuminanceOverWhite(light) - LuminanceOverWhite(dark));
}

}  // namespace ecc200_cli
