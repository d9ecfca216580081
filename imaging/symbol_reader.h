// Reading symbols from images: locate (clean-raster finder first, then the photograph locators),
// sample the modules, and decode them through the library's ReadMatrix_ECC200.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ecc200.h"
#include "grey_image.h"
#include "symbol_grid.h"

namespace ecc200_imaging {

struct ReadRequest {
    std::optional<std::string> productId;     // lifts a product mark
    std::optional<std::string> identityFile;  // the identity of both marks; none: user.id
    bool photographs = true;                  // try the photograph locators when no raster reads
};

// How a symbol was found.
enum class Locator { kNone, kRaster, kZxing, kOutline, kDmtx };
const char* LocatorName(Locator locator);

// One symbol found in an image: its grid, its sampled modules, how it was found.
struct LocatedSymbol {
    SymbolGrid grid;
    std::vector<uint8_t> modules;  // rows x cols, top row first, 1 dark
    bool inverted = false;         // light modules on a dark ground
    Locator locator = Locator::kNone;
};

struct ImageReading {
    // ECC200_OK; ECC200_ERR_UNREADABLE when no symbol was found or none decoded; or the status of
    // ReadMatrix_ECC200 that is no decode failure (ECC200_ERR_NO_IDENTITY, ECC200_ERR_PARAMETER).
    int32_t status = ECC200_ERR_UNREADABLE;
    ECC200_Reading reading{};
    std::optional<LocatedSymbol> symbol;  // the symbol read, or the likeliest one found
};

// Every candidate the clean-raster finder sees, both polarities, best first.
std::vector<LocatedSymbol> LocateRasterSymbols(const GreyImage& image);

// Every candidate one photograph locator (kZxing, kOutline or kDmtx) sees; none from kZxing and
// kDmtx in builds without them.
std::vector<LocatedSymbol> LocatePhotographSymbols(const GreyImage& image, Locator locator);

// Whether this build has the photograph locators.
bool HavePhotographLocators();

ImageReading ReadImage(const GreyImage& image, const ReadRequest& request);

// Reads a module matrix (rows x cols bytes, top row first, nonzero dark).
ImageReading ReadModules(const std::vector<uint8_t>& modules, int32_t rows, int32_t cols,
                         const ReadRequest& request);

}  // namespace ecc200_imaging
