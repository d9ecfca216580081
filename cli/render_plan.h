// Turns the drawing options into the settings the writers use, after checking that they suit
// every format asked for. Warns on standard error about settings that work but may disappoint.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "formats.h"
#include "options.h"
#include "render_settings.h"

namespace ecc200_cli {

inline constexpr int kMaxModuleSize = 50;  // pixels per module side
// The module sides in millimetres that the tool draws for print: below 0.05 mm (two dots of a
// 1200 dpi printer) no printer or marker makes a module a reader can rely on; 100 mm already
// makes a 10x10 symbol over a metre wide.
inline constexpr double kMinModuleMm = 0.05;
inline constexpr double kMaxModuleMm = 100.0;
// The longest page side SVG, PDF and EPS are written with, in points (1/72 inch): the largest
// page PDF allows (200 inches, 5080 mm).
inline constexpr double kMaxPagePoints = 14400.0;

// A module size in millimetres as the user writes it: a plain decimal number such as 0.33 or 2
// (no sign, exponent or hexadecimal), within kMinModuleMm..kMaxModuleMm; nothing otherwise.
std::optional<double> ParseModuleMm(const std::string& text);

// Throws ToolError (kExitUsage) when a setting does not suit one of formats.
RenderSettings PlanRender(const Options& options, std::span<const OutputFormat> formats);

// Throws ToolError (kExitUsage) when format cannot hold grid drawn by render: a vector page
// longer than kMaxPagePoints.
void CheckPageSize(OutputFormat format, const ModuleGrid& grid, const RenderSettings& render);

}  // namespace ecc200_cli
