// Reed-Solomon decoding of whole streams from our encoder: random errors up to each block's
// capacity in every block of every size are corrected and reported exactly; one more in a block
// is detected and leaves the stream failing, never silently "corrected".
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include "decoding/block_correction.h"
#include "ecc/interleaving.h"
#include "ecc/reed_solomon.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

// A complete codeword stream of the size: random data codewords and their error correction.
std::vector<uint8_t> EncodedStream(int32_t sizeIndex, std::mt19937& random) {
    const testing::SymbolPtr handle = testing::MakeSymbol();
    Symbol& symbol = testing::Internals(handle);
    const SymbolSize& size = SizeAt(sizeIndex);
    symbol.sizeIndex = sizeIndex;
    symbol.codewordCount = size.totalDataCodewords;
    for (int32_t i = 0; i < size.totalDataCodewords; ++i) {
        symbol.codewords[i] = static_cast<uint8_t>(random());
    }
    EXPECT_EQ(AddErrorCorrection(symbol), TotalCodewords(size));
    return {symbol.codewords, symbol.codewords + TotalCodewords(size)};
}

// Puts `count` errors at distinct random positions of the block; returns index -> value.
std::map<int32_t, uint8_t> Damage(std::vector<uint8_t>& stream, const SymbolSize& size,
                                  int32_t block, int32_t count, std::mt19937& random) {
    std::vector<int32_t> indexes(static_cast<std::size_t>(BlockLength(size, block)));
    for (std::size_t k = 0; k < indexes.size(); ++k) indexes[k] = static_cast<int32_t>(k);
    std::shuffle(indexes.begin(), indexes.end(), random);
    std::map<int32_t, uint8_t> errors;
    for (int32_t i = 0; i < count; ++i) {
        const auto value = static_cast<uint8_t>(random() % 255 + 1);
        const int32_t k = indexes[static_cast<std::size_t>(i)];
        errors[k] = value;
        stream[static_cast<std::size_t>(InterleavedPosition(size.blockCount, block, k))] ^= value;
    }
    return errors;
}

std::map<int32_t, uint8_t> Reported(const BlockCorrection& correction) {
    std::map<int32_t, uint8_t> reported;
    for (int32_t i = 0; i < correction.count; ++i) {
        reported[correction.positions[i]] = correction.values[i];
    }
    return reported;
}

TEST(ReedSolomonRead, ErrorsUpToCapacityAreCorrectedAndReported) {
    std::mt19937 random(4);
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        SCOPED_TRACE(SizeName(sizeIndex));
        const SymbolSize& size = SizeAt(sizeIndex);
        const int32_t capacity = size.blockEccCodewords / 2;
        for (int32_t trial = 0; trial < 4; ++trial) {
            const std::vector<uint8_t> original = EncodedStream(sizeIndex, random);
            std::vector<uint8_t> stream = original;
            std::vector<std::map<int32_t, uint8_t>> injected;
            for (int32_t block = 0; block < size.blockCount; ++block) {
                // Trial 0 damages nothing; the others up to the capacity.
                const int32_t count = trial == 0 ? 0 : capacity - (trial - 1) * (block % 2);
                injected.push_back(Damage(stream, size, block, count, random));
            }
            StreamCorrections corrections;
            ASSERT_TRUE(CorrectCodewordStream(stream.data(), size, corrections));
            EXPECT_EQ(stream, original);
            for (int32_t block = 0; block < size.blockCount; ++block) {
                EXPECT_EQ(Reported(corrections[block]), injected[static_cast<std::size_t>(block)]);
            }
        }
    }
}

TEST(ReedSolomonRead, OneErrorMoreIsDetected) {
    std::mt19937 random(5);
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        SCOPED_TRACE(SizeName(sizeIndex));
        const SymbolSize& size = SizeAt(sizeIndex);
        const int32_t capacity = size.blockEccCodewords / 2;
        for (int32_t trial = 0; trial < 20; ++trial) {
            std::vector<uint8_t> stream = EncodedStream(sizeIndex, random);
            const auto block =
                static_cast<int32_t>(random() % static_cast<uint32_t>(size.blockCount));
            Damage(stream, size, block, capacity + 1 + trial % 3, random);
            StreamCorrections corrections;
            EXPECT_FALSE(CorrectCodewordStream(stream.data(), size, corrections));
        }
    }
}

}  // namespace
}  // namespace ecc200
