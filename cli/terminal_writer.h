// Terminal output: two module rows per text line drawn with Unicode half blocks.
#pragma once

#include <string>

#include "encoder.h"

namespace ecc200_cli {

// The text that draws grid with quietZone light modules around it. With colour, every line sets
// black on white explicitly, so the symbol reads the same on dark and light terminals; without
// it, dark modules are the glyphs and light modules blanks.
std::string RenderTerminal(const ModuleGrid& grid, int quietZone, bool colour);

}  // namespace ecc200_cli
