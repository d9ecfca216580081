#include "svg_writer.h"

#include "text_line.h"
#include "vector_writer.h"

namespace ecc200_cli {
namespace {

// Appends one closed rectangle of height 1: n dark modules from (x, y) to the right.
void AppendRun(std::string& path, int x, int y, int n) {
    const std::string length = std::to_string(n);
    path += 'M';
    path += std::to_string(x);
    path += ' ';
    path += std::to_string(y);
    path += 'h';
    path += length;
    path += "v1h-";
    path += length;
    path += 'z';
}

// Each horizontal run of dark modules becomes one rectangle of the path.
std::string DarkModulesPath(const ModuleGrid& grid, int quietZone) {
    std::string path;
    for (int row = 0; row < grid.rows; ++row) {
        int col = 0;
        while (col < grid.cols) {
            if (!grid.Dark(row, col)) {
                ++col;
                continue;
            }
            const int start = col;
            while (col < grid.cols && grid.Dark(row, col)) ++col;
            AppendRun(path, start + quietZone, row + quietZone, col - start);
        }
    }
    return path;
}

// The displayed length of n modules: millimetres when a module size in mm is set, else pixels.
std::string DisplayLength(double modules, const RenderSettings& render) {
    if (render.moduleMm) return Decimal(modules * *render.moduleMm) + "mm";
    return Decimal(modules * render.moduleSize);
}

// The fill attribute of a colour, with its opacity unless opaque.
std::string Fill(const Colour& colour) {
    std::string fill = " fill=\"" + colour.Hex() + "\"";
    if (!colour.opaque()) fill += " fill-opacity=\"" + Decimal(colour.alpha / 255.0) + "\"";
    return fill;
}

// text with the characters that XML reserves escaped.
std::string XmlText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The human-readable line, stretched or squeezed to exactly its laid-out width whatever
// sans-serif face the viewer has.
std::string TextElement(const RenderSettings& render, const TextLine& line, double pageHeight) {
    return "<text x=\"" + Decimal(line.left) + "\" y=\"" + Decimal(pageHeight - line.baseline) +
           "\" font-family=\"Helvetica, Arial, sans-serif\" font-size=\"" + Decimal(line.fontSize) +
           "\" textLength=\"" + Decimal(line.width) + "\" lengthAdjust=\"spacingAndGlyphs\"" +
           Fill(render.dark) + ">" + XmlText(render.humanReadable) + "</text>\n";
}

}  // namespace

std::string RenderSvg(const ModuleGrid& grid, const RenderSettings& render) {
    const int width = grid.cols + 2 * render.quietZone;
    const TextLine line = LayOutTextLine(grid, render);
    // The band of the line, when there is one, makes the height fractional.
    const int symbolHeight = grid.rows + 2 * render.quietZone;
    const double height = symbolHeight + line.band;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    svg += DisplayLength(width, render);
    svg += "\" height=\"";
    svg += DisplayLength(height, render);
    svg += "\" viewBox=\"0 0 ";
    svg += std::to_string(width);
    svg += ' ';
    svg += Decimal(height);
    svg += "\" shape-rendering=\"crispEdges\">\n";
    if (!render.light.invisible()) {
        svg += "<rect width=\"";
        svg += std::to_string(width);
        svg += "\" height=\"";
        svg += Decimal(height);
        svg += "\"" + Fill(render.light) + "/>\n";
    }
    svg += "<path" + Fill(render.dark) + " d=\"";
    svg += DarkModulesPath(grid, render.quietZone);
    svg += "\"/>\n";
    if (line.fontSize > 0) svg += TextElement(render, line, height);
    svg += "</svg>\n";
    return svg;
}

}  // namespace ecc200_cli
