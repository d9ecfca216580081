// The photograph locators: the field's reader libraries asked where symbols are, through their
// public interfaces only; the modules are sampled by our own grid.
#pragma once

#include <array>
#include <vector>

#include "grey_image.h"
#include "symbol_grid.h"

namespace ecc200_imaging {

// Four corners, in cyclic order, of each symbol zxing-cpp decodes.
std::vector<std::array<Point, 4>> ZxingCorners(const GreyImage& image);

// Four corners, in cyclic order, of each region libdmtx's finder fits a grid to (decodable or
// not); also on the image halved, for large symbols the full-size pass misses.
std::vector<std::array<Point, 4>> DmtxCorners(const GreyImage& image);

}  // namespace ecc200_imaging
