// Symbols in clean rasters (our own outputs, flat scans): the solid L of the finder is one dark
// region whose bounding box is the symbol, at any scale, in any of the eight right-angle
// orientations and mirror images.
#pragma once

#include <vector>

#include "binarise.h"
#include "symbol_grid.h"

namespace ecc200_imaging {

// Grids of the symbols the image may hold with dark modules dark, best first.
std::vector<SymbolGrid> LocateInRaster(const BinaryImage& image);

// The quick look for a clean picture of one symbol: the bounding box of all dark pixels as its
// outline (no region labelling). Empty when that box is no symbol.
std::vector<SymbolGrid> LocateCleanSymbol(const BinaryImage& image);

// Outlines of the largest dark regions as four corners in cyclic order, two readings each (for an
// outline near upright and one turned near 45 degrees): where symbols in photographs may lie.
std::vector<std::array<Point, 4>> OutlineQuads(const BinaryImage& image);

}  // namespace ecc200_imaging
