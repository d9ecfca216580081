// De-interleaving by the encoder's interleaving rule: block b's codeword k at stream position
// InterleavedPosition(B, b, k), data first, the last two blocks of 144x144 one data codeword
// shorter.
#include "decoding/block_correction.h"

#include "ecc/interleaving.h"

namespace ecc200 {

bool CorrectCodewordStream(uint8_t* codewords, const SymbolSize& size,
                           StreamCorrections& corrections) {
    if (size.blockCount < 1 || size.blockCount > ECC200_MAX_BLOCKS) return false;
    for (int32_t block = 0; block < size.blockCount; ++block) {
        const int32_t length = BlockLength(size, block);
        if (length > kMaxBlockLength) return false;
        uint8_t work[kMaxBlockLength];
        for (int32_t k = 0; k < length; ++k) {
            work[k] = codewords[InterleavedPosition(size.blockCount, block, k)];
        }
        if (!CorrectBlock(work, length, size.blockEccCodewords, corrections[block])) return false;
        for (int32_t k = 0; k < length; ++k) {
            codewords[InterleavedPosition(size.blockCount, block, k)] = work[k];
        }
    }
    return true;
}

}  // namespace ecc200
