// Encoding one piece of data and writing it to every output asked for.
#pragma once

#include "encoder.h"
#include "options.h"

namespace ecc200_cli {

// The symbol settings that the command line asked for.
SymbolSettings SettingsFrom(const Options& options);

// Returns the exit code; throws ToolError for failures.
int RunSingle(const Options& options);

}  // namespace ecc200_cli
