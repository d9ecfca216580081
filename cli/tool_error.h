// Exit codes of the tool and the exception that carries a failure up to where it is reported.
#pragma once

#include <stdexcept>
#include <string>

namespace ecc200_cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitSymbolFailed = 1,  // the data or the settings do not make a symbol
    kExitUsage = 2,         // the command line is wrong
    kExitFileError = 3,     // an input could not be read or an output could not be written
};

// A failure described in the user's terms, with the exit code that it ends the tool with.
class ToolError : public std::runtime_error {
  public:
    ToolError(ExitCode code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    ExitCode code() const { return code_; }

  private:
    ExitCode code_;
};

}  // namespace ecc200_cli
