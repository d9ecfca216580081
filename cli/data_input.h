// Reading the bytes to encode from a file or standard input, without any translation.
#pragma once

#include <cstddef>
#include <string>

namespace ecc200_cli {

// Reads at most maxBytes bytes of the file at path ("-" is standard input). Throws ToolError
// (kExitFileError) when it cannot be opened or read.
std::string ReadBytes(const std::string& path, std::size_t maxBytes);

// Reads the whole file at path ("-" is standard input).
std::string ReadAllBytes(const std::string& path);

}  // namespace ecc200_cli
