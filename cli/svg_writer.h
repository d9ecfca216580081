// SVG output: the dark modules as one path on a light background, one user unit per module;
// displayed at moduleSize pixels per module, or in millimetres when a module size in mm is set.
#pragma once

#include <string>

#include "encoder.h"
#include "render_settings.h"

namespace ecc200_cli {

std::string RenderSvg(const ModuleGrid& grid, const RenderSettings& render);

}  // namespace ecc200_cli
