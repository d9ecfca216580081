// The marks' pseudo-random byte generator: RC4 key scheduling and output.
#pragma once

#include <cstdint>

#include "marks/mark_state.h"

namespace ecc200 {

// Bytes of a mark key between the two size bytes and the identity: what each mark keys with.
inline constexpr int32_t kMarkKeyBodyBytes = kMarkKeyHeader - 2;

// Composes the key both marks use: rows and cols (low 8 bits each), then bodyLength bytes of the
// mark's own (at most kMarkKeyBodyBytes, zero-filled to that), then the loaded identity. False,
// with the key untouched, when the identity does not fit behind the header.
bool ComposeMarkKey(MarkState& state, int32_t rows, int32_t cols, const uint8_t* body,
                    int32_t bodyLength);

// Schedules the first keyLength bytes of key into the permutation and resets both indexes.
void ScheduleMarkKey(MarkState& state);

// The next keystream byte.
uint8_t NextMarkByte(MarkState& state);

// Draws and drops count keystream bytes.
void DiscardMarkBytes(MarkState& state, int32_t count);

}  // namespace ecc200
