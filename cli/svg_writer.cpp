#include "svg_writer.h"

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

}  // namespace

std::string RenderSvg(const ModuleGrid& grid, int moduleSize, int quietZone) {
    const int width = grid.cols + 2 * quietZone;
    const int height = grid.rows + 2 * quietZone;
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    svg += std::to_string(width * moduleSize);
    svg += "\" height=\"";
    svg += std::to_string(height * moduleSize);
    svg += "\" viewBox=\"0 0 ";
    svg += std::to_string(width);
    svg += ' ';
    svg += std::to_string(height);
    svg += "\" shape-rendering=\"crispEdges\">\n<rect width=\"";
    svg += std::to_string(width);
    svg += "\" height=\"";
    svg += std::to_string(height);
    svg += "\" fill=\"#ffffff\"/>\n<path fill=\"#000000\" d=\"";
    svg += DarkModulesPath(grid, quietZone);
    svg += "\"/>\n</svg>\n";
    return svg;
}

}  // namespace ecc200_cli
