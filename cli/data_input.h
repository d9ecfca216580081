// Reading the bytes to encode from a file or standard input, without any translation.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ecc200_cli {

// Reads at most maxBytes bytes of the file at path ("-" is standard input). Throws ToolError
// (kExitFileError) when it cannot be opened or read.
std::string ReadBytes(const std::string& path, std::size_t maxBytes);

// One line of a batch file: its bytes without the line end, or only a flag when it is longer
// than a symbol can hold.
struct BatchLine {
    std::string bytes;
    bool tooLong = false;
};

// Reads the lines of the file at path ("-" is standard input) one at a time, keeping no more of
// a line than a symbol can hold. Lines end at LF; a CR before it is dropped; a last line without
// LF counts. Stops early, returning what it has, when an interrupt signal arrives. Throws
// ToolError (kExitFileError) when the file cannot be opened or read.
std::vector<BatchLine> ReadBatchLines(const std::string& path);

}  // namespace ecc200_cli
