// Writing a finished symbol to the outputs the user named: files by extension, or the terminal.
#pragma once

#include <optional>
#include <string>

#include "encoder.h"

namespace ecc200_cli {

enum class OutputFormat { kPng, kBmp, kSvg, kTerminal };

struct RenderSettings {
    int moduleSize = 4;  // pixels per module side
    int quietZone = 2;   // light modules on every side
};

// The format of an output target: "-" is the terminal, files go by extension (.png, .bmp, .svg,
// in any case); nothing for any other name.
std::optional<OutputFormat> FormatOfTarget(const std::string& target);

// The usual file extension of a format, with its dot.
std::string ExtensionOf(OutputFormat format);

// Writes grid (which encoder has just produced) to target in format. A file appears complete or
// not at all. Throws ToolError on failure.
void WriteOutput(OutputFormat format, const std::string& target, const ModuleGrid& grid,
                 Encoder& encoder, const RenderSettings& render);

}  // namespace ecc200_cli
