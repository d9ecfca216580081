#include "svg_writer.h"

namespace ecc200_cli {
namespace {

// Each horizontal run of dark modules becomes one closed rectangle of height 1.
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
            const std::string run = std::to_string(col - start);
            path += "M" + std::to_string(start + quietZone) + " " +
                    std::to_string(row + quietZone) + "h" + run + "v1h-" + run + "z";
        }
    }
    return path;
}

}  // namespace

std::string RenderSvg(const ModuleGrid& grid, int moduleSize, int quietZone) {
    const std::string width = std::to_string(grid.cols + 2 * quietZone);
    const std::string height = std::to_string(grid.rows + 2 * quietZone);
    const std::string pixelWidth = std::to_string((grid.cols + 2 * quietZone) * moduleSize);
    const std::string pixelHeight = std::to_string((grid.rows + 2 * quietZone) * moduleSize);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           pixelWidth + "\" height=\"" + pixelHeight + "\" viewBox=\"0 0 " + width + " " + height +
           "\" shape-rendering=\"crispEdges\">\n"
           "<rect width=\"" +
           width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n<path fill=\"#000000\" d=\"" +
           DarkModulesPath(grid, quietZone) + "\"/>\n</svg>\n";
}

}  // namespace ecc200_cli
