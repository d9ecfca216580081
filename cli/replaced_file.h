// Writing an output file the library's way (WriteFileReplacing_ECC200): complete or not at all,
// through a link to the file it names, keeping the replaced file's permission bits and owner. The
// tool has no file replacement of its own.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace ecc200_cli {

// Writes target with write, which receives a buffered stream over the new file. An exception
// thrown by write leaves target as it was and is thrown on; any other failure throws ToolError
// (kExitFileError) naming target.
void WriteReplacing(const std::string& target, const std::function<void(std::FILE*)>& write);

// The same for a writer that fills the new file by its name (as the library's BMP export does).
void FillReplacing(const std::string& target,
                   const std::function<void(const std::string& path)>& fill);

}  // namespace ecc200_cli
