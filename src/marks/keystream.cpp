// The RC4 key schedule and output bytes behind both marks.
#include "marks/keystream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace ecc200 {

MarkState* AllocateMarkState() {
    return static_cast<MarkState*>(std::calloc(1, sizeof(MarkState)));
}

void FreeMarkState(MarkState* state) {
    std::free(state);
}

bool ComposeMarkKey(MarkState& state, int32_t rows, int32_t cols, const uint8_t* body,
                    int32_t bodyLength) {
    if (!IdentityFitsMarkKey(state)) return false;
    std::memset(state.key, 0, sizeof state.key);
    state.keyLength = state.identityLength + kMarkKeyHeader;
    state.key[0] = static_cast<uint8_t>(rows & 0xFF);
    state.key[1] = static_cast<uint8_t>(cols & 0xFF);
    std::memcpy(state.key + 2, body,
                static_cast<std::size_t>(std::clamp(bodyLength, 0, kMarkKeyBodyBytes)));
    std::memcpy(state.key + kMarkKeyHeader, state.identity,
                static_cast<std::size_t>(state.identityLength));
    return true;
}

void ScheduleMarkKey(MarkState& state) {
    for (int n = 0; n < 256; ++n) state.permutation[n] = static_cast<uint8_t>(n);
    // A key is 1..256 bytes; clamping keeps a corrupt length from dividing by zero.
    const int keyLength = std::clamp<int>(state.keyLength, 1, kMarkKeyCapacity);
    uint8_t j = 0;
    for (int n = 0; n < 256; ++n) {
        j = static_cast<uint8_t>(j + state.permutation[n] + state.key[n % keyLength]);
        std::swap(state.permutation[n], state.permutation[j]);
    }
    state.streamI = 0;
    state.streamJ = 0;
}

uint8_t NextMarkByte(MarkState& state) {
    const uint32_t i = (state.streamI + 1) & 0xFFu;
    const uint32_t j = (state.streamJ + state.permutation[i]) & 0xFFu;
    std::swap(state.permutation[i], state.permutation[j]);
    state.streamI = i;
    state.streamJ = j;
    return state.permutation[(state.permutation[i] + state.permutation[j]) & 0xFFu];
}

void DiscardMarkBytes(MarkState& state, int32_t count) {
    for (int32_t n = 0; n < count; ++n) NextMarkByte(state);
}

}  // namespace ecc200
