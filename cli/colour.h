// Colours of the dark and light modules: parsed from the command line and judged for contrast.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ecc200_cli {

struct Colour {
    uint8_t red = 0, green = 0, blue = 0, alpha = 255;

    bool operator==(const Colour&) const = default;
    bool opaque() const { return alpha == 255; }
    bool invisible() const { return alpha == 0; }
    // "#rrggbb", the form SVG and the messages use.
    std::string Hex() const;
};

inline constexpr Colour kBlack{0, 0, 0, 255};
inline constexpr Colour kWhite{255, 255, 255, 255};

// "#RRGGBB", "#RRGGBBAA" (hex digits in any case) or a name: black, white, red, green, blue,
// yellow, cyan, magenta, grey/gray, transparent.
std::optional<Colour> ParseColour(std::string_view text);

// The colour names accepted, for the help text.
std::string ColourNames();

// The difference of the relative luminances of the two colours, each laid over white paper as
// printed or shown: 0 for equal colours, 1 for black on white.
double LuminanceDifference(const Colour& dark, const Colour& light);

}  // namespace ecc200_cli
