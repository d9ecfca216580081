// Padding, Reed-Solomon error correction and interleaving of the codeword stream.
//
// Block b of a size with B blocks owns the stream positions b, b + B, b + 2B, ...: first its
// data codewords, then its error-correction codewords. The error-correction codewords are the
// remainder of D(x) * x^e modulo the generator g_e(x), highest power first. The remainder is
// computed by long division with the data codewords highest power first: each step takes the
// leading coefficient, shifts the remainder on by one coefficient and adds that multiple of the
// generator. The remainder stays in machine words (a template per word count, so that they can
// live in registers) packed like the product rows.
#include "ecc/reed_solomon.h"

#include <array>
#include <cstddef>
#include <utility>

#include "core/status.h"
#include "ecc/ecc_products.h"
#include "ecc/interleaving.h"
#include "geometry/size_table.h"

namespace ecc200 {
namespace {

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

// One block's division with a remainder of Words words: the error-correction codewords of the
// block, written to its positions.
template <std::size_t Words>
void EncodeBlock(uint8_t* codewords, int32_t block, int32_t blockCount, int32_t dataCount,
                 int32_t eccCount, const uint64_t* products) {
    std::array<uint64_t, Words> remainder{};
    for (int32_t k = 0; k < dataCount; ++k) {
        const uint8_t leading =
            codewords[InterleavedPosition(blockCount, block, k)] ^ (remainder[0] & 0xFF);
        const uint64_t* row = products + leading * Words;
        for (std::size_t i = 0; i + 1 < Words; ++i) {
            remainder[i] = ((remainder[i] >> 8) | (remainder[i + 1] << 56)) ^ row[i];
        }
        remainder[Words - 1] = (remainder[Words - 1] >> 8) ^ row[Words - 1];
    }
    for (int32_t j = 0; j < eccCount; ++j) {
        const uint64_t word = remainder[static_cast<std::size_t>(j / 8)];
        codewords[InterleavedPosition(blockCount, block, dataCount + j)] =
            static_cast<uint8_t>(word >> (8 * (j % 8)));
    }
}

using BlockEncoder = void (*)(uint8_t*, int32_t, int32_t, int32_t, int32_t, const uint64_t*);

template <std::size_t... Counts>
constexpr std::array<BlockEncoder, sizeof...(Counts)> BlockEncoders(
    std::index_sequence<Counts...>) {
    return {EncodeBlock<Counts + 1>...};
}

// The block encoder for a remainder of w words sits at w - 1.
constexpr auto kBlockEncoders =
    BlockEncoders(std::make_index_sequence<static_cast<std::size_t>(kMaxProductRowWords)>());

}  // namespace

uint8_t PadCodewordAt(int32_t position) {
    return PadCodeword(position);
}

int32_t AddErrorCorrection(Symbol& symbol) {
    if (!IsSizeIndex(symbol.sizeIndex)) return -kStatusInternal;
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    if (symbol.codewordCount < 0 || symbol.codewordCount > size.totalDataCodewords) return -1;
    const uint64_t* products = EccProductRows(size.blockEccCodewords);
    const BlockEncoder encodeBlock =
        kBlockEncoders[static_cast<std::size_t>(ProductRowWords(size.blockEccCodewords) - 1)];

    PadToCapacity(symbol, size.totalDataCodewords);
    for (int32_t block = 0; block < size.blockCount; ++block) {
        encodeBlock(symbol.codewords, block, size.blockCount, BlockDataCodewords(size, block),
                    size.blockEccCodewords, products);
    }
    return TotalCodewords(size);
}

}  // namespace ecc200
