// The photograph locators in builds without zxing-cpp and libdmtx (Windows): clean rasters only.
#include "photo_locator.h"
#include "symbol_reader.h"

namespace ecc200_imaging {

bool HavePhotographLocators() {
    return false;
}
std::vector<std::array<Point, 4>> ZxingCorners(const GreyImage&) {
    return {};
}
std::vector<std::array<Point, 4>> DmtxCorners(const GreyImage&) {
    return {};
}

}  // namespace ecc200_imaging
