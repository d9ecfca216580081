// Writing an output file so that a failed write never destroys the file it was to replace. This
// is the one rule the library's BMP writer and, through WriteFileReplacing_ECC200, the tool's
// writers follow.
#pragma once

#include <cstdio>

namespace ecc200 {

// Writes the contents of a file (the whole file, to a stream opened for binary writing); false
// when any write fails.
using FileContentsWriter = bool (*)(std::FILE* file, const void* context);

// Writes the contents of a file by its name (opening it itself for binary writing); false when
// any write fails.
using FileContentsFiller = bool (*)(const char* path, void* context);

// Writes path through writeContents. A regular file, or a path where nothing exists yet, is
// written as a temporary file in the same folder, which replaces the target in one step (a
// rename) only when every write and the close succeeded; on any failure the temporary file is
// removed and an existing file stays exactly as it was. A symbolic link is followed and the file
// it names is replaced, in that file's folder; the link stays. The replacement keeps the old
// file's permission bits, and its owner and group where the process may set them; a new file
// gets the usual 0666 less the process's umask. Targets that are not regular files (devices,
// FIFOs) are opened and written directly. Returns whether the whole file was written.
bool WriteFileReplacing(const char* path, FileContentsWriter writeContents, const void* context);

// The same rule, with the contents written by name: fill receives the temporary file's name (or,
// for a device or FIFO, path itself) and writes the whole file there.
bool FillFileReplacing(const char* path, FileContentsFiller fill, void* context);

}  // namespace ecc200
