// PDF and EPS output: one page the size of the symbol and its quiet zone, the light background
// as one rectangle (left out when transparent) and the dark modules as one filled path.
// Coordinates are whole modules, scaled to the module size, so every edge is exact.
#pragma once

#include <string>

#include "encoder.h"
#include "render_settings.h"

namespace ecc200_cli {

// The module side in points (1/72 inch): render.moduleMm when set, otherwise moduleSize points.
double ModulePoints(const RenderSettings& render);

// A decimal number with at most six places and no trailing zeros, whatever the locale.
std::string Decimal(double value);

std::string RenderPdf(const ModuleGrid& grid, const RenderSettings& render);
std::string RenderEps(const ModuleGrid& grid, const RenderSettings& render);

}  // namespace ecc200_cli
