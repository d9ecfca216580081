// Where a symbol lies in an image: its size and the projective map from symbol coordinates
// (u along the columns, v down the rows, both in modules, (0,0) the outer corner at the top of the
// solid left column) to pixel coordinates (pixel (x, y) covers [x, x+1) x [y, y+1)).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "binarise.h"

namespace ecc200_imaging {

struct Point {
    double x = 0;
    double y = 0;
};

// A projective map of the unit square onto four corners in order (0,0), (1,0), (1,1), (0,1).
class SquareToQuad {
  public:
    SquareToQuad() = default;
    explicit SquareToQuad(const std::array<Point, 4>& corners);
    Point operator()(double s, double t) const;

  private:
    double a_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

struct SymbolGrid {
    int32_t rows = 0;
    int32_t cols = 0;
    // Symbol corners: top-left (top of the solid column), top-right, bottom-right, bottom-left
    // (where the solid column meets the solid row).
    std::array<Point, 4> corners{};
    double score = 0;  // share of finder and timing modules that look as they must, 0..1

    Point ModuleCentre(double row, double col) const;
    SquareToQuad map;
};

// The grid of a symbol of rows x cols whose corners are given in the order above.
SymbolGrid MakeGrid(int32_t rows, int32_t cols, const std::array<Point, 4>& corners);

// Samples each module at its centre (with four neighbours voting where modules are three pixels
// or more): rows x cols bytes, top row first, 1 dark.
std::vector<uint8_t> SampleModules(const BinaryImage& image, const SymbolGrid& grid);

// The share of the finder and timing modules of the grid that the image shows as they must be
// (lowered a little when the modules just outside the timing row are not light); 0 as soon as
// the share falls below giveUpBelow.
double FinderScore(const BinaryImage& image, const SymbolGrid& grid, double giveUpBelow);

// Every reading of four corners, given in cyclic order around a symbol, as a symbol grid: each
// corner as the finder's corner, each of its two sides as the solid column (which also covers
// mirrored images), each symbol size; those whose finder and timing agree with the image at least
// minScore, best first.
std::vector<SymbolGrid> GridsFromCorners(const BinaryImage& image,
                                         const std::array<Point, 4>& corners, double minScore);

// The grid with its corners moved, a fraction of a module at a time, to where the finder, the
// timing pattern and the light margin around them fit the image best; its score recomputed.
SymbolGrid RefineGrid(const BinaryImage& image, const SymbolGrid& grid);

// Samples a symbol of several data regions region by region, each region's frame (solid and
// timing lines) refined on its own: follows a picture that bends between the corners. One region:
// the same as SampleModules.
std::vector<uint8_t> SampleModulesByRegion(const BinaryImage& image, const SymbolGrid& grid);

// Whether the grid runs clockwise on the image (rows down): a symbol seen as printed, not
// mirrored.
bool Clockwise(const SymbolGrid& grid);

// The order candidates are tried in: higher score first, and on equal scores (a square symbol
// seen both ways) the one seen as printed before its mirror image.
bool BetterGrid(const SymbolGrid& a, const SymbolGrid& b);

}  // namespace ecc200_imaging
