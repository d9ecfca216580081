// Loading the user identity from the file user.id in the current directory.
#pragma once

#include "core/status.h"
#include "marks/identity_file.h"
#include "marks/mark_state.h"

namespace ecc200 {

// Reads the first token of the identity file into state.identity. Returns false (and leaves the
// previous identity in place) when the file cannot be read, holds no token, or its token has
// fewer than two "*". Field characters that are not hexadecimal digits do not fail the load.
// `path` names another identity file than the default one.
bool LoadUserIdentity(MarkState& state, const char* path = kUserIdentityFile);

// Allocates the mark state on first use and loads a fresh identity into it: what a mark switch
// checks and what every encode with a mark on keys both marks with. kStatusNoIdentity when the
// identity cannot be loaded or is too long for a mark's key, kStatusInternal when memory for the
// state cannot be had.
StatusCode LoadMarkIdentity(MarkState*& state);

// Loads the identity from `path` into a state the caller owns: kStatusOk, or kStatusNoIdentity
// when it cannot be loaded or is too long for a mark's key.
StatusCode LoadMarkIdentityInto(MarkState& state, const char* path);

}  // namespace ecc200
