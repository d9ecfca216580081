// How a symbol is drawn: scale, margin, colours and physical size, as checked for the outputs.
#pragma once

#include <optional>
#include <string>

#include "colour.h"

namespace ecc200_cli {

inline constexpr double kMillimetresPerInch = 25.4;

struct RenderSettings {
    int moduleSize = 4;  // pixels per module side in the pixel formats
    int quietZone = 2;   // light modules on every side
    Colour dark = kBlack;
    Colour light = kWhite;
    std::optional<int> dpi;          // resolution recorded in the pixel formats
    std::optional<double> moduleMm;  // module side in millimetres for the vector formats
    std::string humanReadable;       // a line of text under the symbol (vector formats), or none

    bool coloured() const { return dark != kBlack || light != kWhite; }
};

}  // namespace ecc200_cli
