// PNG output, written with libpng: 1-bit greyscale for black on white, otherwise a two-entry
// palette (with transparency where the colours have it); the resolution when one is set.
#pragma once

#include <cstdio>

#include "encoder.h"
#include "render_settings.h"

namespace ecc200_cli {

// Draws grid with render's scale, margin and colours into out. Returns false when libpng
// reports an error.
bool WritePng(const ModuleGrid& grid, const RenderSettings& render, std::FILE* out);

}  // namespace ecc200_cli
