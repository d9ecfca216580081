// Padding, Reed-Solomon error correction and interleaving of the codeword stream.
//
// Block b of a size with B blocks owns the stream positions b, b + B, b + 2B, ...: first its
// data codewords, then its error-correction codewords. The error-correction codewords are the
// remainder of D(x) * x^e modulo the generator g_e(x), highest power first. The remainder is
// computed by long division with the data codewords highest power first: each step takes the
// leading coefficient, adds that multiple of the generator to the next e coefficients, and
// moves one position on, so the running remainder slides along a work array instead of being
// shifted.
#include "ecc/reed_solomon.h"

#include <cstring>

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

// Data codewords of the longest block, room for the remainder behind them, and one word of slack
// for the padded product rows.
constexpr std::size_t kWorkBytes = 256;
static_assert(175 + kMaxEccCodewords + kProductWordBytes <= kWorkBytes);

// work[at .. at + stride) += row, a machine word at a time.
void AddProductRow(uint8_t* work, const uint8_t* row, std::size_t stride) {
    for (std::size_t j = 0; j < stride; j += kProductWordBytes) {
        uint64_t sum;
        uint64_t product;
        std::memcpy(&sum, work + j, sizeof sum);
        std::memcpy(&product, row + j, sizeof product);
        sum ^= product;
        std::memcpy(work + j, &sum, sizeof sum);
    }
}

// Computes the error-correction codewords of one block and writes them to its positions.
void EncodeBlock(uint8_t* codewords, int32_t block, int32_t blockCount, int32_t dataCount,
                 int32_t eccCount, const uint8_t* products) {
    const std::size_t stride = ProductRowStride(eccCount);
    uint8_t work[kWorkBytes] = {};  // work[k] is the leading coefficient at division step k
    for (int32_t k = 0; k < dataCount; ++k) {
        const auto step = static_cast<std::size_t>(k);
        const uint8_t leading = codewords[block + k * blockCount] ^ work[step];
        AddProductRow(work + step + 1, products + leading * stride, stride);
    }
    const uint8_t* remainder = work + dataCount;
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
