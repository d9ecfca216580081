// The table of output formats: the one place that says which formats exist, how they are named,
// how they are written and which settings apply to them. Help text, option checks and messages
// are built from it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "encoder.h"
#include "render_settings.h"

namespace ecc200_cli {

enum class OutputFormat { kPng, kBmp, kSvg, kPdf, kEps, kTerminal };

// Writes grid (which encoder has just produced) to target. A file appears complete or not at all.
// Throws ToolError on failure.
using OutputWriter = void (*)(const std::string& target, const ModuleGrid& grid, Encoder& encoder,
                              const RenderSettings& render);

struct FormatTraits {
    OutputFormat format;
    std::string_view name;       // as given to --format, and in messages ("PNG" upper-cased)
    std::string_view extension;  // with its dot; empty for the terminal
    OutputWriter write;
    bool colour;        // --fg and --bg apply
    bool translucency;  // colours between opaque and fully transparent can be drawn
    bool pixels;        // drawn in pixels (--module-size, --dpi as resolution); else in lengths
};

std::span<const FormatTraits> AllFormats();
const FormatTraits& TraitsOf(OutputFormat format);

// "-" is the terminal; files go by extension, in any case. Nothing for any other name.
std::optional<OutputFormat> FormatOfTarget(const std::string& target);
// A file format by its name ("png"), in any case.
std::optional<OutputFormat> FormatNamed(std::string_view name);

// The names of the file formats, in table order: "png", "bmp", ...
std::vector<std::string> FileFormatNames();
// The file formats joined for help and messages: separator "|" gives "png|bmp|...", and
// ExtensionList gives ".png, .bmp, ... or .eps".
std::string FileFormatNameList(std::string_view separator);
std::string ExtensionList();

void WriteOutput(OutputFormat format, const std::string& target, const ModuleGrid& grid,
                 Encoder& encoder, const RenderSettings& render);

}  // namespace ecc200_cli
