// Loading the user identity from the file user.id in the current directory.
#pragma once

#include "marks/mark_state.h"

namespace ecc200 {

// Name of the identity file, relative to the process's current directory.
#ifdef _WIN32
inline constexpr const char kUserIdentityFile[] = ".\\user.id";
#else
inline constexpr const char kUserIdentityFile[] = "user.id";
#endif

// Reads the first token of the identity file into state.identity. Returns false (and leaves the
// previous identity in place) when the file cannot be opened, holds no token, or its token has
// fewer than two "*". Field characters that are not hexadecimal digits do not fail the load.
bool LoadUserIdentity(MarkState& state);

// Whether a loaded identity fits behind the 102 bytes that each mark puts first in its key.
inline bool IdentityFitsMarkKey(const MarkState& state) {
    return state.identityLength <= kMaxUsableIdentityLength;
}

}  // namespace ecc200
