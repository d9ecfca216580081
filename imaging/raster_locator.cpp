// Clean-raster locating: the largest 8-connected dark regions, each one's bounding box taken as a
// symbol's outline and checked through its finder and timing pattern.
#include "raster_locator.h"

#include <algorithm>

namespace ecc200_imaging {

namespace {

struct Region {
    int64_t pixels = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;  // inclusive
};

constexpr std::size_t kRegionsTried = 4;
constexpr int32_t kMinSide = 8;           // a symbol at one pixel a module is 8 pixels or more
constexpr double kMinFinderScore = 0.85;  // noise may flip a few finder modules

// The dark regions (8-connected) of at least kMinSide pixels both ways, largest first; every
// pixel is visited once, with an explicit stack.
std::vector<Region> DarkRegions(const BinaryImage& image) {
    std::vector<uint8_t> seen(image.dark.size(), 0);
    std::vector<uint32_t> stack;
    std::vector<Region> regions;
    const auto width = static_cast<uint32_t>(image.width);
    for (uint32_t start = 0; start < image.dark.size(); ++start) {
        if (image.dark[start] == 0 || seen[start] != 0) continue;
        Region region;
        region.left = region.right = static_cast<int32_t>(start % width);
        region.top = region.bottom = static_cast<int32_t>(start / width);
        seen[start] = 1;
        stack.push_back(start);
        while (!stack.empty()) {
            const uint32_t at = stack.back();
            stack.pop_back();
            ++region.pixels;
            const auto x = static_cast<int32_t>(at % width), y = static_cast<int32_t>(at / width);
            region.left = std::min(region.left, x);
            region.right = std::max(region.right, x);
            region.top = std::min(region.top, y);
            region.bottom = std::max(region.bottom, y);
            for (int32_t dy = -1; dy <= 1; ++dy) {
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const int32_t nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) continue;
                    const uint32_t next =
                        static_cast<uint32_t>(ny) * width + static_cast<uint32_t>(nx);
                    if (image.dark[next] == 0 || seen[next] != 0) continue;
                    seen[next] = 1;
                    stack.push_back(next);
                }
            }
        }
        if (region.right - region.left + 1 >= kMinSide &&
            region.bottom - region.top + 1 >= kMinSide) {
            regions.push_back(region);
        }
    }
    std::sort(regions.begin(), regions.end(),
              [](const Region& a, const Region& b) { return a.pixels > b.pixels; });
    if (regions.size() > kRegionsTried) regions.resize(kRegionsTried);
    return regions;
}

}  // namespace

std::vector<SymbolGrid> LocateInRaster(const BinaryImage& image) {
    std::vector<SymbolGrid> grids;
    for (const Region& r : DarkRegions(image)) {
        const double left = r.left, top = r.top, right = r.right + 1.0, bottom = r.bottom + 1.0;
        const std::array<Point, 4> box = {Point{left, top}, Point{right, top}, Point{right, bottom},
                                          Point{left, bottom}};
        for (SymbolGrid& grid : GridsFromCorners(image, box, kMinFinderScore)) {
            grids.push_back(grid);
        }
    }
    std::stable_sort(grids.begin(), grids.end(), BetterGrid);
    return grids;
}

}  // namespace ecc200_imaging
