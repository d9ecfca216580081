// The out-of-line copy and fill for short, variable lengths (see byte_copy.h for why they are
// calls).
#include "api/byte_copy.h"

#include <cstring>

namespace ecc200 {

void CopyBytes(void* to, const void* from, std::size_t count) {
    if (count > 0) std::memcpy(to, from, count);
}

void ZeroBytes(void* to, std::size_t count) {
    std::memset(to, 0, count);
}

}  // namespace ecc200
