#include "terminal_writer.h"

namespace ecc200_cli {
namespace {

constexpr const char kBothDark[] = "\u2588";   // full block
constexpr const char kUpperDark[] = "\u2580";  // upper half block
constexpr const char kLowerDark[] = "\u2584";  // lower half block
constexpr const char kBothLight[] = " ";
constexpr const char kBlackOnWhite[] = "\x1b[30;107m";
constexpr const char kResetColour[] = "\x1b[0m";

// Module at (row, col) of the grid padded with the quiet zone; outside it everything is light.
bool DarkWithMargin(const ModuleGrid& grid, int quietZone, int row, int col) {
    const int r = row - quietZone;
    const int c = col - quietZone;
    return r >= 0 && r < grid.rows && c >= 0 && c < grid.cols && grid.Dark(r, c);
}

const char* Glyph(bool upperDark, bool lowerDark) {
    if (upperDark) return lowerDark ? kBothDark : kUpperDark;
    return lowerDark ? kLowerDark : kBothLight;
}

}  // namespace

std::string RenderTerminal(const ModuleGrid& grid, int quietZone, bool colour) {
    const int height = grid.rows + 2 * quietZone;
    const int width = grid.cols + 2 * quietZone;
    std::string text;
    for (int row = 0; row < height; row += 2) {
        if (colour) text += kBlackOnWhite;
        for (int col = 0; col < width; ++col) {
            text += Glyph(DarkWithMargin(grid, quietZone, row, col),
                          DarkWithMargin(grid, quietZone, row + 1, col));
        }
        if (colour) text += kResetColour;
        text += '\n';
    }
    return text;
}

}  // namespace ecc200_cli
