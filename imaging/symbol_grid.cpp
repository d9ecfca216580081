// Symbol grids: the projective map, sampling module centres, and the finder and timing check that
// tells the symbol's size, orientation and mirroring from four corners.
#include "symbol_grid.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "geometry/size_table.h"

namespace ecc200_imaging {

SquareToQuad::SquareToQuad(const std::array<Point, 4>& c) {
    // The classic closed form: affine when the corners form a parallelogram, else projective.
    const double dx1 = c[1].x - c[2].x, dx2 = c[3].x - c[2].x;
    const double dy1 = c[1].y - c[2].y, dy2 = c[3].y - c[2].y;
    const double sx = c[0].x - c[1].x + c[2].x - c[3].x;
    const double sy = c[0].y - c[1].y + c[2].y - c[3].y;
    const double det = dx1 * dy2 - dx2 * dy1;
    double g = 0, h = 0;
    if (std::abs(det) > 1e-12) {
        g = (sx * dy2 - dx2 * sy) / det;
        h = (dx1 * sy - sx * dy1) / det;
    }
    a_[0] = c[1].x - c[0].x + g * c[1].x;
    a_[1] = c[3].x - c[0].x + h * c[3].x;
    a_[2] = c[0].x;
    a_[3] = c[1].y - c[0].y + g * c[1].y;
    a_[4] = c[3].y - c[0].y + h * c[3].y;
    a_[5] = c[0].y;
    a_[6] = g;
    a_[7] = h;
    a_[8] = 1;
}

Point SquareToQuad::operator()(double s, double t) const {
    const double w = a_[6] * s + a_[7] * t + a_[8];
    return {(a_[0] * s + a_[1] * t + a_[2]) / w, (a_[3] * s + a_[4] * t + a_[5]) / w};
}

Point SymbolGrid::ModuleCentre(double row, double col) const {
    return map((col + 0.5) / cols, (row + 0.5) / rows);
}

SymbolGrid MakeGrid(int32_t rows, int32_t cols, const std::array<Point, 4>& corners) {
    SymbolGrid grid;
    grid.rows = rows;
    grid.cols = cols;
    grid.corners = corners;
    grid.map = SquareToQuad(corners);
    return grid;
}

namespace {

double Distance(Point a, Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The pixel at a point, light outside the image.
bool DarkAt(const BinaryImage& image, Point p) {
    const double x = std::floor(p.x), y = std::floor(p.y);
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return false;
    return image.at(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

// Side of a module in pixels, the shorter of its two sides near the symbol's centre.
double ModuleSide(const SymbolGrid& grid) {
    const double r = grid.rows / 2.0, c = grid.cols / 2.0;
    const Point centre = grid.ModuleCentre(r, c);
    return std::min(Distance(centre, grid.ModuleCentre(r, c + 1)),
                    Distance(centre, grid.ModuleCentre(r + 1, c)));
}

bool ModuleDark(const BinaryImage& image, const SymbolGrid& grid, int32_t row, int32_t col,
                bool vote) {
    if (!vote) return DarkAt(image, grid.ModuleCentre(row, col));
    constexpr double kOffset = 0.22;
    static constexpr double kOffsets[5][2] = {
        {0, 0}, {-kOffset, 0}, {kOffset, 0}, {0, -kOffset}, {0, kOffset}};
    int dark = 0;
    for (const auto& offset : kOffsets) {
        dark += DarkAt(image, grid.ModuleCentre(row + offset[0], col + offset[1])) ? 1 : 0;
    }
    return dark >= 3;
}

}  // namespace

std::vector<uint8_t> SampleModules(const BinaryImage& image, const SymbolGrid& grid) {
    // Neighbours vote where modules are large enough and the picture may be noisy or blurred.
    const bool vote = !image.clean && ModuleSide(grid) >= 3.0;
    std::vector<uint8_t> modules(static_cast<std::size_t>(grid.rows) *
                                 static_cast<std::size_t>(grid.cols));
    // The voting neighbours lie a fixed step from each centre: the grid's module steps measured
    // at the symbol's centre, which a slant changes by far less than the step itself.
    const double r0 = grid.rows / 2.0, c0 = grid.cols / 2.0, kOffset = 0.22;
    const Point centre = grid.ModuleCentre(r0, c0), right = grid.ModuleCentre(r0, c0 + kOffset),
                below = grid.ModuleCentre(r0 + kOffset, c0);
    const Point across{right.x - centre.x, right.y - centre.y};
    const Point down{below.x - centre.x, below.y - centre.y};
    for (int32_t r = 0; r < grid.rows; ++r) {
        for (int32_t c = 0; c < grid.cols; ++c) {
            const Point p = grid.ModuleCentre(r, c);
            bool dark = DarkAt(image, p);
            if (vote) {
                const int votes = (dark ? 1 : 0) +
                                  (DarkAt(image, {p.x - across.x, p.y - across.y}) ? 1 : 0) +
                                  (DarkAt(image, {p.x + across.x, p.y + across.y}) ? 1 : 0) +
                                  (DarkAt(image, {p.x - down.x, p.y - down.y}) ? 1 : 0) +
                                  (DarkAt(image, {p.x + down.x, p.y + down.y}) ? 1 : 0);
                dark = votes >= 3;
            }
            modules[static_cast<std::size_t>(r * grid.cols + c)] = dark ? 1 : 0;
        }
    }
    return modules;
}

double FinderScore(const BinaryImage& image, const SymbolGrid& grid, double giveUpBelow) {
    // Module centres alone (no vote): the score only has to tell sizes and corners apart, and a
    // wrong one misses about half its timing modules.
    const int32_t total = 2 * grid.cols + 2 * (grid.rows - 1);
    const auto allowedMisses = static_cast<int32_t>((1.0 - giveUpBelow) * total);
    int32_t misses = 0;
    auto miss = [&](int32_t r, int32_t c, bool dark) {
        misses += DarkAt(image, grid.ModuleCentre(r, c)) == dark ? 0 : 1;
        return misses > allowedMisses;
    };
    // Timing first: wrong sizes and wrong corners fail there soonest.
    for (int32_t c = 0; c < grid.cols; ++c) {
        if (miss(0, c, c % 2 == 0)) return 0;
    }
    for (int32_t r = 0; r < grid.rows - 1; ++r) {
        if (miss(r, grid.cols - 1, (grid.rows - 1 - r) % 2 == 0)) return 0;
    }
    for (int32_t c = 0; c < grid.cols; ++c) {
        if (miss(grid.rows - 1, c, true)) return 0;
    }
    for (int32_t r = 0; r < grid.rows - 1; ++r) {
        if (miss(r, 0, true)) return 0;
    }
    // The quiet side: the modules just outside the timing row are light, which tells a symbol
    // from the same size's grid laid over a larger symbol.
    int32_t outsideGood = 0, outsideTotal = 0;
    for (int32_t c = 1; c < grid.cols; c += 2) {
        outsideGood += DarkAt(image, grid.ModuleCentre(-1, c)) ? 0 : 1;
        ++outsideTotal;
    }
    const double finder = 1.0 - static_cast<double>(misses) / total;
    return finder * (0.75 + 0.25 * outsideGood / static_cast<double>(outsideTotal));
}

namespace {

// Whether the side from a to b, seen just inside the quadrilateral (towards inward), is solid dark
// as the finder's sides are, whatever the symbol's size: the points sampled lie within the outer
// module row of even the largest size.
bool SolidSide(const BinaryImage& image, Point a, Point b, Point inward, double minShare) {
    constexpr int kSamples = 48;
    // Two depths: just inside the edge (within the outer module row of even the largest size),
    // and a pixel and a half in, past an edge that blur has lightened.
    const double length = Distance(a, b);
    const double shallow = 0.0025, deep = std::min(1.5 / std::max(length, 1.0), 0.01);
    int dark = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double t = (i + 0.5) / kSamples;
        const Point onSide{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        const double dx = inward.x - onSide.x, dy = inward.y - onSide.y;
        const bool seen =
            DarkAt(image, {onSide.x + 2 * shallow * dx, onSide.y + 2 * shallow * dy}) ||
            DarkAt(image, {onSide.x + 2 * deep * dx, onSide.y + 2 * deep * dy});
        dark += seen ? 1 : 0;
    }
    return dark >= minShare * kSamples;
}

}  // namespace

std::vector<SymbolGrid> GridsFromCorners(const BinaryImage& image,
                                         const std::array<Point, 4>& corners, double minScore) {
    std::vector<SymbolGrid> grids;
    const Point centre{(corners[0].x + corners[1].x + corners[2].x + corners[3].x) / 4,
                       (corners[0].y + corners[1].y + corners[2].y + corners[3].y) / 4};
    for (std::size_t k = 0; k < 4; ++k) {
        const Point finder = corners[k], before = corners[(k + 3) % 4],
                    after = corners[(k + 1) % 4], opposite = corners[(k + 2) % 4];
        // The finder's corner has two solid sides; a timing side is half light.
        if (!SolidSide(image, before, finder, centre, minScore - 0.1) ||
            !SolidSide(image, finder, after, centre, minScore - 0.1)) {
            continue;
        }
        for (int swap = 0; swap < 2; ++swap) {
            const Point top = swap != 0 ? after : before, end = swap != 0 ? before : after;
            const double height = Distance(top, finder), width = Distance(end, finder);
            const std::array<Point, 4> symbol = {top, opposite, end, finder};
            SymbolGrid best;
            for (const ecc200::SymbolSize& size : ecc200::SymbolSizeTable) {
                const double moduleWidth = width / size.symbolCols;
                const double moduleHeight = height / size.symbolRows;
                if (moduleWidth < 0.8 || moduleHeight < 0.8) continue;
                if (moduleWidth > 1.6 * moduleHeight || moduleHeight > 1.6 * moduleWidth) continue;
                SymbolGrid grid = MakeGrid(size.symbolRows, size.symbolCols, symbol);
                grid.score = FinderScore(image, grid, minScore);
                if (grid.score > best.score) best = grid;
            }
            if (best.rows > 0 && best.score >= minScore) grids.push_back(best);
        }
    }
    std::stable_sort(grids.begin(), grids.end(), BetterGrid);
    return grids;
}

namespace {

// A finer measure of fit than FinderScore for moving corners: voted samples of the finder and
// timing modules and of the light modules just outside all four sides.
double FitScore(const BinaryImage& image, const SymbolGrid& grid, bool margin) {
    int32_t good = 0, total = 0, outsideGood = 0, outsideTotal = 0;
    auto check = [&](int32_t r, int32_t c, bool dark) {
        good += ModuleDark(image, grid, r, c, true) == dark ? 1 : 0;
        ++total;
    };
    auto outside = [&](int32_t r, int32_t c) {
        outsideGood += ModuleDark(image, grid, r, c, true) ? 0 : 1;
        ++outsideTotal;
    };
    for (int32_t c = 0; c < grid.cols; ++c) {
        check(grid.rows - 1, c, true);
        check(0, c, c % 2 == 0);
        outside(-1, c);
        outside(grid.rows, c);
    }
    for (int32_t r = 0; r < grid.rows; ++r) {
        check(r, 0, true);
        check(r, grid.cols - 1, (grid.rows - 1 - r) % 2 == 0);
        outside(r, -1);
        outside(r, grid.cols);
    }
    // The margin only breaks ties: a grid pushed outwards finds light there too easily.
    const double finder = static_cast<double>(good) / total;
    return margin ? finder * (0.8 + 0.2 * outsideGood / outsideTotal) : finder;
}

}  // namespace

// The grid's corners moved step by step (in modules) to where its frame fits best; the margin
// outside the frame counts only for a whole symbol (a data region's neighbours are not light).
SymbolGrid Refined(const BinaryImage& image, const SymbolGrid& start, bool margin,
                   std::initializer_list<double> steps);

SymbolGrid RefineGrid(const BinaryImage& image, const SymbolGrid& start) {
    return Refined(image, start, true, {2.0, 1.0, 0.5, 0.25, 0.12});
}

std::vector<uint8_t> SampleModulesByRegion(const BinaryImage& image, const SymbolGrid& grid) {
    const auto* size =
        std::find_if(ecc200::SymbolSizeTable.begin(), ecc200::SymbolSizeTable.end(),
                     [&](const ecc200::SymbolSize& s) {
                         return s.symbolRows == grid.rows && s.symbolCols == grid.cols;
                     });
    if (size == ecc200::SymbolSizeTable.end() || size->regionCount < 2)
        return SampleModules(image, grid);
    const int32_t h = size->regionRows + 2, w = size->regionCols + 2;
    std::vector<uint8_t> modules(static_cast<std::size_t>(grid.rows) *
                                 static_cast<std::size_t>(grid.cols));
    for (int32_t r0 = 0; r0 < grid.rows; r0 += h) {
        for (int32_t c0 = 0; c0 < grid.cols; c0 += w) {
            // Each data region is framed like a small symbol: a solid column and row, two
            // timing lines. Its corners start where the whole grid puts them.
            const double rows = grid.rows, cols = grid.cols;
            const std::array<Point, 4> corners = {
                grid.map(c0 / cols, r0 / rows), grid.map((c0 + w) / cols, r0 / rows),
                grid.map((c0 + w) / cols, (r0 + h) / rows), grid.map(c0 / cols, (r0 + h) / rows)};
            const SymbolGrid region =
                Refined(image, MakeGrid(h, w, corners), false, {0.5, 0.25, 0.12});
            const std::vector<uint8_t> part = SampleModules(image, region);
            for (int32_t r = 0; r < h; ++r) {
                for (int32_t c = 0; c < w; ++c) {
                    modules[static_cast<std::size_t>((r0 + r) * grid.cols + c0 + c)] =
                        part[static_cast<std::size_t>(r * w + c)];
                }
            }
        }
    }
    return modules;
}

SymbolGrid Refined(const BinaryImage& image, const SymbolGrid& start, bool margin,
                   std::initializer_list<double> steps) {
    SymbolGrid best = start;
    double bestFit = FitScore(image, best, margin);
    for (double step : steps) {
        for (int pass = 0; pass < 3; ++pass) {
            bool moved = false;
            for (std::size_t k = 0; k < 4; ++k) {
                // The step in modules, along the symbol's own axes at that corner.
                const Point across{(best.corners[1].x - best.corners[0].x) / best.cols,
                                   (best.corners[1].y - best.corners[0].y) / best.cols};
                const Point down{(best.corners[3].x - best.corners[0].x) / best.rows,
                                 (best.corners[3].y - best.corners[0].y) / best.rows};
                for (const auto& [a, d] :
                     {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                    std::array<Point, 4> corners = best.corners;
                    corners[k].x += step * (a * across.x + d * down.x);
                    corners[k].y += step * (a * across.y + d * down.y);
                    SymbolGrid trial = MakeGrid(best.rows, best.cols, corners);
                    const double fit = FitScore(image, trial, margin);
                    if (fit > bestFit) {
                        bestFit = fit;
                        best = trial;
                        moved = true;
                    }
                }
            }
            if (!moved) break;
        }
    }
    best.score = FinderScore(image, best, 0);
    return best;
}

bool Clockwise(const SymbolGrid& grid) {
    const Point& a = grid.corners[0];
    const Point& b = grid.corners[1];
    const Point& c = grid.corners[2];
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0;
}

bool BetterGrid(const SymbolGrid& a, const SymbolGrid& b) {
    if (a.score != b.score) return a.score > b.score;
    return Clockwise(a) && !Clockwise(b);
}

}  // namespace ecc200_imaging
