// PNG output: an 8-bit greyscale picture of the symbol, written with libpng.
#pragma once

#include <cstdio>

#include "encoder.h"

namespace ecc200_cli {

// Draws grid with moduleSize pixels per module and quietZone light modules around it into out.
// Returns false when libpng reports an error.
bool WritePng(const ModuleGrid& grid, int moduleSize, int quietZone, std::FILE* out);

}  // namespace ecc200_cli
