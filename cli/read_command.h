// The tool's reading commands: `ecc200 read FILE...` and `ecc200 verify FILE...`.
#pragma once

#include <string_view>

namespace ecc200_cli {

// Whether the first argument names a reading command (the encoder's command line is used
// otherwise).
bool IsReadCommand(std::string_view firstArgument);

// Runs `read` or `verify` (argv[1]); the exit code: 0 all read (verified), 1 one did not, 2 bad
// usage.
int RunReadCommand(int argc, char** argv);

}  // namespace ecc200_cli
