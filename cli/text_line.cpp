// The human-readable line's layout, from the advance widths of Helvetica (the standard metrics of
// the font every PDF and PostScript reader has built in; Arial shares them).
#include "text_line.h"

#include <algorithm>

namespace ecc200_cli {
namespace {

// Advance widths in thousandths of an em of the printable ASCII characters, ' ' to '~'.
constexpr short kHelveticaWidths[95] = {
    278, 278, 355, 556, 556, 889, 667,  191, 333, 333, 389, 584, 278, 333, 278, 278,  // ' ' .. '/'
    556, 556, 556, 556, 556, 556, 556,  556, 556, 556,                                // '0' .. '9'
    278, 278, 584, 584, 584, 556, 1015,                                               // ':' .. '@'
    667, 667, 722, 722, 667, 611, 778,  722, 278, 500, 667, 556, 833,                 // 'A' .. 'M'
    722, 778, 667, 778, 722, 667, 611,  722, 667, 944, 667, 667, 611,                 // 'N' .. 'Z'
    278, 278, 278, 469, 556, 333,                                                     // '[' .. '`'
    556, 556, 500, 556, 556, 278, 556,  556, 222, 222, 500, 222, 833,                 // 'a' .. 'm'
    556, 556, 556, 556, 333, 500, 278,  556, 500, 722, 500, 500, 500,                 // 'n' .. 'z'
    334, 260, 334, 584,                                                               // '{' .. '~'
};
constexpr short kWidestWidth = 833;

// The band holds the line with room for descenders below and a gap above.
constexpr double kBaselineRaise = 0.35;  // em from the bottom of the band to the baseline
constexpr double kBandHeight = 1.3;      // em
constexpr double kLargestFont = 0.15;    // of the symbol's width: short lines stay modest

}  // namespace

double HelveticaWidth(std::string_view text) {
    int thousandths = 0;
    for (const char c : text) {
        const int index = static_cast<unsigned char>(c) - ' ';
        thousandths += index >= 0 && index < 95 ? kHelveticaWidths[index] : kWidestWidth;
    }
    return thousandths / 1000.0;
}

TextLine LayOutTextLine(const ModuleGrid& grid, const RenderSettings& render) {
    if (render.humanReadable.empty()) return {};
    const double em = HelveticaWidth(render.humanReadable);
    const double fontSize = std::min(grid.cols / em, grid.cols * kLargestFont);
    TextLine line;
    line.fontSize = fontSize;
    line.band = fontSize * kBandHeight;
    line.baseline = fontSize * kBaselineRaise;
    line.width = em * fontSize;
    line.left = render.quietZone + (grid.cols - line.width) / 2;
    return line;
}

std::string PageString(std::string_view text) {
    std::string out = "(";
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out + ")";
}

}  // namespace ecc200_cli
