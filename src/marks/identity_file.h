// Reading the identity file: its first token, taken as bytes, without ever blocking.
#pragma once

#include "marks/mark_state.h"

namespace ecc200 {

// Name of the identity file, relative to the process's current directory.
#ifdef _WIN32
inline constexpr const char kUserIdentityFile[] = ".\\user.id";
#else
inline constexpr const char kUserIdentityFile[] = "user.id";
#endif

// Reads the first token of the identity file into token, zero-terminated: white space (space,
// tab, line feed, vertical tab, form feed, carriage return) is skipped, then every byte up to the
// next white space is taken, at most 257 of them. The file is read as bytes on every platform
// (no line-end translation, no end-of-file byte). False when the file cannot be opened, is not a
// regular file (a FIFO, device, socket or directory is refused at once, never waited on),
// cannot be read, or holds no token.
// `path` names the file (kUserIdentityFile when the caller has no other).
bool ReadIdentityToken(const char* path, char (&token)[kIdentityTokenCapacity]);

}  // namespace ecc200
