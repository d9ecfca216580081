// Whether a read symbol carries the user mark of an identity for the data it decoded to.
#pragma once

#include <cstdint>

#include "decoding/block_correction.h"
#include "marks/mark_state.h"

namespace ecc200 {

struct UserMarkVerdict {
    int32_t verdict;       // ECC200_MARK_ABSENT, _PARTIAL or _VALID
    int32_t markedBlocks;  // blocks whose correction inverted the mark's codeword
};

// Works out the mark's stream positions from the decoded data bytes, the identity loaded into
// state and the size (the encoder's own rule), and counts the blocks whose corrections include
// that position with all eight bits inverted.
UserMarkVerdict CheckUserMark(MarkState& state, int32_t sizeIndex, const uint8_t* data,
                              int32_t dataLength, const StreamCorrections& corrections);

}  // namespace ecc200
