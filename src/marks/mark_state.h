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

// Values of MarkState::loadState: the outcome of the last load, kept for inspection only.
inline constexpr uint32_t kLoadDone = 0;
inline constexpr uint32_t kLoadRunning = 1;
inline constexpr uint32_t kLoadFailed = 5;

// Values of MarkState::loadReason: why the last load failed or found a malformed field.
inline constexpr uint32_t kReasonNone = 0;
inline constexpr uint32_t kReasonMalformed = 1;    // fewer than two "*", or a bad field digit
inline constexpr uint32_t kReasonUnavailable = 2;  // no file, no token, or too long for a key

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

// Whether a loaded identity fits behind the 102 bytes that each mark puts first in its key.
inline bool IdentityFitsMarkKey(const MarkState& state) {
    return state.identityLength >= 0 && state.identityLength <= kMaxUsableIdentityLength;
}

// A zeroed MarkState from the heap, or null when memory cannot be had. Free with FreeMarkState.
MarkState* AllocateMarkState();
void FreeMarkState(MarkState* state);

}  // namespace ecc200
