// Keystream state, key and user identity shared by the two keyed marks.
#pragma once

#include <cstdint>

namespace ecc200 {

inline constexpr int32_t kMarkKeyCapacity = 256;
inline constexpr int32_t kIdentityTokenCapacity = 258;  // 257 characters and a zero
inline constexpr int32_t kIdentityCapacity = 22144;
// Both marks put 102 bytes of their own before the identity in the 256-byte key.
inline constexpr int32_t kMarkKeyHeader = 102;
inline constexpr int32_t kMaxUsableIdentityLength = kMarkKeyCapacity - kMarkKeyHeader;  // 154

enum LoadState : uint32_t {
    kLoadDone = 0,
    kLoadRunning = 1,
    kLoadBadDigit = 4,
    kLoadFailed = 5,
};

enum LoadReason : uint32_t {
    kReasonNone = 0,
    kReasonMalformed = 1,    // fewer than two "*", or a field character that is no hex digit
    kReasonUnavailable = 2,  // no file, no token, or an identity too long for a key
};

struct MarkState {
    uint8_t permutation[256];
    int32_t keyLength;
    uint8_t key[kMarkKeyCapacity];
    uint32_t streamI;
    uint32_t streamJ;
    char token[kIdentityTokenCapacity];
    int32_t identityLength;
    uint8_t identity[kIdentityCapacity];
    uint32_t loadState;
    uint32_t loadReason;
};

// A zeroed MarkState from the heap, or null when memory cannot be had. Free with FreeMarkState.
MarkState* AllocateMarkState();
void FreeMarkState(MarkState* state);

}  // namespace ecc200
