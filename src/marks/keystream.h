// The marks' pseudo-random byte generator: RC4 key scheduling and output.
#pragma once

#include <cstdint>

#include "marks/mark_state.h"

namespace ecc200 {

// Schedules the first keyLength bytes of key into the permutation and resets both indexes.
void ScheduleMarkKey(MarkState& state);

// The next keystream byte.
uint8_t NextMarkByte(MarkState& state);

// Draws and drops count keystream bytes.
void DiscardMarkBytes(MarkState& state, int32_t count);

}  // namespace ecc200
