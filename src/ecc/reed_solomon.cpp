// Padding, Reed-Solomon error correction and interleaving of the codeword stream.
//
// Block b of a size with B blocks owns the stream positions b, b + B, b + 2B, ...: first its
// data codewords, then its error-correction codewords. The error-correction codewords are the
// remainder of D(x) * x^e modulo the generator g_e(x), computed by a shift register that takes
// the data codewords highest power first and emits the remainder from x^(e-1) down to x^0.
#include "ecc/reed_solomon.h"

#include "api/status.h"
#include "ecc/ecc_products.h"
#include "geometry/size_table.h"

namespace ecc200 {
namespace {

// Blocks from this one on hold one data codeword less than the size's row says (only 144x144,
// whose ten blocks share 1558 data codewords, has any).
constexpr int32_t kFirstShortBlock = 8;

// The pad codeword at 1-based stream position P: 129 randomised by the 253-state algorithm.
constexpr uint8_t PadCodeword(int32_t position) {
    const int32_t value = (149 * position) % 253 + 130;
    return static_cast<uint8_t>(value <= 254 ? value : value - 254);
}

void PadToCapacity(Symbol& symbol, int32_t capacity) {
    for (int32_t i = symbol.codewordCount; i < capacity; ++i) {
        symbol.codewords[i] = PadCodeword(i + 1);
    }
}

constexpr int32_t BlockDataCodewords(const SymbolSize& size, int32_t block) {
    return block < kFirstShortBlock ? size.blockDataCodewords : size.blockDataCodewords - 1;
}

// Computes the error-correction codewords of one block and writes them to its positions.
void EncodeBlock(uint8_t* codewords, int32_t block, int32_t blockCount, int32_t dataCount,
                 int32_t eccCount, const uint8_t* products) {
    const auto e = static_cast<std::size_t>(eccCount);
    uint8_t remainder[kMaxEccCodewords] = {};  // [0] is the coefficient of x^(e-1)
    for (int32_t k = 0; k < dataCount; ++k) {
        const uint8_t feedback = codewords[block + k * blockCount] ^ remainder[0];
        const uint8_t* row = products + feedback * e;
        for (std::size_t j = 0; j + 1 < e; ++j) {
            remainder[j] = remainder[j + 1] ^ row[j];
        }
        remainder[e - 1] = row[e - 1];
    }
    for (int32_t j = 0; j < eccCount; ++j) {
        codewords[block + (dataCount + j) * blockCount] = remainder[j];
    }
}

}  // namespace

int32_t AddErrorCorrection(Symbol& symbol) {
    if (!IsSizeIndex(symbol.sizeIndex)) return -kStatusInternal;
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    if (symbol.codewordCount < 0 || symbol.codewordCount > size.totalDataCodewords) return -1;
    const uint8_t* products = EccProducts.For(size.blockEccCodewords);

    PadToCapacity(symbol, size.totalDataCodewords);
    for (int32_t block = 0; block < size.blockCount; ++block) {
        EncodeBlock(symbol.codewords, block, size.blockCount, BlockDataCodewords(size, block),
                    size.blockEccCodewords, products);
    }
    return TotalCodewords(size);
}

}  // namespace ecc200
