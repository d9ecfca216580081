// Locating by dark regions: the largest 8-connected dark regions (runs of dark pixels joined row
// by row); for clean rasters each one's bounding box is the symbol's outline, for photographs its
// extreme points in eight directions give the corners of a turned or slanted outline. Either is
// checked through the finder and timing pattern.
#include "raster_locator.h"

#include <algorithm>
#include <cstring>

namespace ecc200_imaging {

namespace {

// Directions whose extreme points are a region's corners: diagonals for an upright outline, the
// axes for one turned by about 45 degrees; each set in cyclic order.
constexpr double kDirections[8][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1},
                                      {0, -1},  {1, 0},  {0, 1}, {-1, 0}};

struct Region {
    int64_t pixels = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;  // inclusive
    std::array<Point, 8> extreme{};                    // farthest pixel corner each direction
    std::array<double, 8> reach{};
};

void Extend(Region& region, Point p, bool first) {
    for (std::size_t d = 0; d < 8; ++d) {
        const double along = p.x * kDirections[d][0] + p.y * kDirections[d][1];
        if (first || along > region.reach[d]) {
            region.reach[d] = along;
            region.extreme[d] = p;
        }
    }
}

constexpr std::size_t kRegionsTried = 4;
constexpr int32_t kMinSide = 8;           // a symbol at one pixel a module is 8 pixels or more
constexpr double kMinFinderScore = 0.85;  // noise may flip a few finder modules

// A horizontal run of dark pixels, and the union-find link that joins it to its region.
struct Run {
    int32_t y = 0, left = 0, right = 0;  // inclusive
    uint32_t parent = 0;
};

uint32_t Root(std::vector<Run>& runs, uint32_t i) {
    while (runs[i].parent != i) {
        runs[i].parent = runs[runs[i].parent].parent;  // path halving
        i = runs[i].parent;
    }
    return i;
}

// The dark runs of each row, those of neighbouring rows that touch (diagonally too) joined.
std::vector<Run> JoinedRuns(const BinaryImage& image) {
    std::vector<Run> runs;
    std::size_t previousStart = 0, previousEnd = 0;
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* row =
            image.dark.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        const std::size_t start = runs.size();
        for (int32_t x = 0; x < image.width;) {
            if (row[x] == 0) {
                // Light stretches are skipped eight pixels at a time.
                uint64_t eight = 0;
                while (x + 8 <= image.width && (std::memcpy(&eight, row + x, 8), eight == 0)) {
                    x += 8;
                }
                while (x < image.width && row[x] == 0) ++x;
                continue;
            }
            Run run;
            run.y = y;
            run.left = x;
            while (x < image.width && row[x] != 0) ++x;
            run.right = x - 1;
            run.parent = static_cast<uint32_t>(runs.size());
            runs.push_back(run);
        }
        // Both rows' runs are in order: walk them together.
        std::size_t above = previousStart;
        for (std::size_t i = start; i < runs.size(); ++i) {
            while (above < previousEnd && runs[above].right < runs[i].left - 1) ++above;
            for (std::size_t a = above; a < previousEnd && runs[a].left <= runs[i].right + 1; ++a) {
                const uint32_t r1 = Root(runs, static_cast<uint32_t>(a));
                const uint32_t r2 = Root(runs, static_cast<uint32_t>(i));
                if (r1 != r2) runs[std::max(r1, r2)].parent = std::min(r1, r2);
            }
        }
        previousStart = start;
        previousEnd = runs.size();
    }
    return runs;
}

// The dark regions (8-connected) of at least kMinSide pixels both ways, largest first; their
// extreme points only when asked (the outlines of photographs need them, clean rasters do not).
std::vector<Region> DarkRegions(const BinaryImage& image, bool extremes) {
    std::vector<Run> runs = JoinedRuns(image);
    // Each root run's region, numbered as the roots are met.
    std::vector<int32_t> regionOf(runs.size(), -1);
    std::vector<Region> byRoot;
    for (uint32_t i = 0; i < runs.size(); ++i) {
        const Run& run = runs[i];
        int32_t& index = regionOf[Root(runs, i)];
        if (index < 0) {
            index = static_cast<int32_t>(byRoot.size());
            byRoot.emplace_back();
        }
        Region& region = byRoot[static_cast<std::size_t>(index)];
        const bool first = region.pixels == 0;
        if (first) {
            region.left = run.left;
            region.right = run.right;
            region.top = region.bottom = run.y;
        }
        if (extremes) {
            const double l = run.left, r = run.right + 1.0, t = run.y, b = run.y + 1.0;
            for (const Point corner : {Point{l, t}, Point{r, t}, Point{r, b}, Point{l, b}}) {
                Extend(region, corner, first && corner.x == l && corner.y == t);
            }
        }
        region.pixels += run.right - run.left + 1;
        region.left = std::min(region.left, run.left);
        region.right = std::max(region.right, run.right);
        region.top = std::min(region.top, run.y);
        region.bottom = std::max(region.bottom, run.y);
    }
    std::vector<Region> regions;
    for (const Region& region : byRoot) {
        if (region.pixels > 0 && region.right - region.left + 1 >= kMinSide &&
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

namespace {

std::array<Point, 4> Box(const Region& r) {
    const double left = r.left, top = r.top, right = r.right + 1.0, bottom = r.bottom + 1.0;
    return {Point{left, top}, Point{right, top}, Point{right, bottom}, Point{left, bottom}};
}

// The bounding box of every dark pixel, found row by row from both ends; pixels 0 when none.
Region AllDark(const BinaryImage& image) {
    Region box;
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* row =
            image.dark.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        int32_t first = 0, last = image.width - 1;
        while (first < image.width && row[first] == 0) ++first;
        if (first == image.width) continue;
        while (row[last] == 0) --last;
        if (box.pixels == 0) {
            box.left = first;
            box.right = last;
            box.top = y;
        }
        box.pixels = 1;
        box.left = std::min(box.left, first);
        box.right = std::max(box.right, last);
        box.bottom = y;
    }
    return box;
}

}  // namespace

std::vector<SymbolGrid> LocateInRaster(const BinaryImage& image) {
    std::vector<SymbolGrid> grids;
    for (const Region& r : DarkRegions(image, false)) {
        for (SymbolGrid& grid : GridsFromCorners(image, Box(r), kMinFinderScore)) {
            grids.push_back(grid);
        }
    }
    std::stable_sort(grids.begin(), grids.end(), BetterGrid);
    return grids;
}

std::vector<SymbolGrid> LocateCleanSymbol(const BinaryImage& image) {
    const Region all = AllDark(image);
    if (all.pixels == 0 || all.right - all.left + 1 < kMinSide ||
        all.bottom - all.top + 1 < kMinSide) {
        return {};
    }
    return GridsFromCorners(image, Box(all), kMinFinderScore);
}

std::vector<std::array<Point, 4>> OutlineQuads(const BinaryImage& image) {
    std::vector<std::array<Point, 4>> quads;
    for (const Region& r : DarkRegions(image, true)) {
        for (std::size_t set = 0; set < 2; ++set) {
            const std::array<Point, 4> quad = {r.extreme[4 * set], r.extreme[4 * set + 1],
                                               r.extreme[4 * set + 2], r.extreme[4 * set + 3]};
            quads.push_back(quad);
            // The corner where both timing patterns end is light, so the region stops short of
            // it: each corner in turn completed as a parallelogram of the other three.
            for (std::size_t k = 0; k < 4; ++k) {
                std::array<Point, 4> completed = quad;
                const Point& before = quad[(k + 3) % 4];
                const Point& after = quad[(k + 1) % 4];
                const Point& opposite = quad[(k + 2) % 4];
                completed[k] = {before.x + after.x - opposite.x, before.y + after.y - opposite.y};
                quads.push_back(completed);
            }
        }
    }
    return quads;
}

}  // namespace ecc200_imaging
