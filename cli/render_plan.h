// Turns the drawing options into the settings the writers use, after checking that they suit
// every format asked for. Warns on standard error about settings that work but may disappoint.
#pragma once

#include <span>

#include "formats.h"
#include "options.h"
#include "render_settings.h"

namespace ecc200_cli {

inline constexpr int kMaxModuleSize = 50;  // pixels per module side

// Throws ToolError (kExitUsage) when a setting does not suit one of formats.
RenderSettings PlanRender(const Options& options, std::span<const OutputFormat> formats);

}  // namespace ecc200_cli
