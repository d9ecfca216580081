// Warnings about a user.id that the library accepts but that is unlikely to be what was meant.
#pragma once

#include "options.h"

namespace ecc200_cli {

// When a mark is asked for and user.id is a regular file that starts with a UTF-8 byte order
// mark (which would become part of the identity) or holds no hex digit at all (so the key
// bytes come from other characters), says so on standard error.
void WarnAboutIdentity(const Options& options);

}  // namespace ecc200_cli
