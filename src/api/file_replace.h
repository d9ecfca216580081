// Writing an output file so that a failed write never destroys the file it was to replace.
#pragma once

#include <cstdio>

namespace ecc200 {

// Writes the contents of a file (the whole file, to a stream opened for binary writing); false
// when any write fails.
using FileContentsWriter = bool (*)(std::FILE* file, const void* context);

// Writes path through writeContents. A regular file, or a path where nothing exists yet, is
// written as a temporary file in the same folder, which replaces the target only when every
// write and the close succeeded; on any failure the temporary file is removed and an existing
// file stays exactly as it was. The replacement keeps the old file's permission bits; a new file
// gets the usual 0666 less the process's umask. A symbolic link to a regular file is followed
// and the file it names is replaced. Targets that are not regular files (devices, FIFOs) are
// opened and written directly. Returns whether the whole file was written.
bool WriteFileReplacing(const char* path, FileContentsWriter writeContents, const void* context);

}  // namespace ecc200
