// The writers of the output formats, one per row of the format table (formats.h).
#pragma once

#include <string>

#include "encoder.h"
#include "render_settings.h"

namespace ecc200_cli {

void WritePngFile(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                  const RenderSettings& render);
// Through the library's own BMP export; a resolution, when set, is entered in the file after.
void WriteBmpFile(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                  const RenderSettings& render);
void WriteSvgFile(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                  const RenderSettings& render);
void WritePdfFile(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                  const RenderSettings& render);
void WriteEpsFile(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                  const RenderSettings& render);
// Draws on standard output (target is "-"); throws ToolError when standard output fails.
void WriteTerminal(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                   const RenderSettings& render);

}  // namespace ecc200_cli
