// SVG output: the dark modules as one path on a light background, one user unit per module.
#pragma once

#include <string>

#include "encoder.h"

namespace ecc200_cli {

// The SVG text of grid with quietZone light modules around it, displayed at moduleSize pixels
// per module.
std::string RenderSvg(const ModuleGrid& grid, int moduleSize, int quietZone);

}  // namespace ecc200_cli
