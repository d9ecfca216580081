// The human-readable line under a symbol in the vector formats: Helvetica (or a sans-serif face of
// the same widths), sized so the line spans the symbol's width, in a band below the quiet zone.
#pragma once

#include <string>
#include <string_view>

#include "encoder.h"
#include "render_settings.h"

namespace ecc200_cli {

// Where the line goes, in modules, with the origin at the bottom left of the page.
struct TextLine {
    double fontSize = 0;  // em in modules; 0 when there is no line
    double band = 0;      // height added under the symbol's quiet zone
    double baseline = 0;  // from the bottom of the page
    double left = 0;      // where the line starts, so that it is centred under the symbol
    double width = 0;     // the line's width
};

// The layout of render.humanReadable for grid (all zero when the line is empty).
TextLine LayOutTextLine(const ModuleGrid& grid, const RenderSettings& render);

// The width of text set in Helvetica at 1 em (other bytes as wide as 'M').
double HelveticaWidth(std::string_view text);

// text as a string of PDF or PostScript: in parentheses, with '(', ')' and '\' escaped.
std::string PageString(std::string_view text);

}  // namespace ecc200_cli
