#include "ecc/reed_solomon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "ecc/gf256.h"
#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::Internals;
using testing::MakeSymbol;
using testing::SymbolPtr;

constexpr int32_t kSize10x10 = 0;
constexpr int32_t kSize144x144 = 23;

std::vector<uint8_t> Stream(const Symbol& symbol, int32_t count) {
    return std::vector<uint8_t>(symbol.codewords, symbol.codewords + count);
}

void LoadDataCodewords(Symbol& symbol, int32_t sizeIndex, const std::vector<uint8_t>& data) {
    symbol.sizeIndex = sizeIndex;
    std::copy(data.begin(), data.end(), symbol.codewords);
    symbol.codewordCount = static_cast<int32_t>(data.size());
}

struct StreamCase {
    const char* name;
    int32_t sizeIndex;
    std::vector<uint8_t> data;
    std::vector<uint8_t> expected;
};

class WorkedStreams : public ::testing::TestWithParam<StreamCase> {};

TEST_P(WorkedStreams, GiveTheExpectedCodewords) {
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    LoadDataCodewords(symbol, GetParam().sizeIndex, GetParam().data);
    const auto total = static_cast<int32_t>(GetParam().expected.size());
    EXPECT_EQ(AddErrorCorrection(symbol), total);
    EXPECT_EQ(Stream(symbol, total), GetParam().expected);
    EXPECT_EQ(symbol.codewordCount, static_cast<int32_t>(GetParam().data.size()));
}

INSTANTIATE_TEST_SUITE_P(ReedSolomon, WorkedStreams,
                         ::testing::Values(StreamCase{"DigitsFillingTenByTen",
                                                      kSize10x10,
                                                      {142, 164, 186},
                                                      {142, 164, 186, 114, 25, 5, 88, 102}},
                                           StreamCase{"OneCodewordAndFirstPad",
                                                      kSize10x10,
                                                      {66, 129},
                                                      {66, 129, 70, 138, 234, 82, 82, 95}}),
                         CaseName{});

TEST(ReedSolomon, PadsFollowTheRandomisingRule) {
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    LoadDataCodewords(symbol, kSize144x144, {});
    ASSERT_EQ(AddErrorCorrection(symbol), 2178);
    EXPECT_EQ(Stream(symbol, 6), (std::vector<uint8_t>{25, 175, 70, 220, 115, 11}));
    for (int32_t p = 1; p <= 1558; ++p) {
        const int32_t r = (149 * p) % 253 + 130;
        ASSERT_EQ(symbol.codewords[p - 1], r <= 254 ? r : r - 254) << "position " << p;
    }
}

TEST(ReedSolomon, TooManyDataCodewordsChangeNothing) {
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    LoadDataCodewords(symbol, kSize10x10, {1, 2, 3, 4});
    std::memset(symbol.codewords + 4, 0xAB, 10);
    EXPECT_EQ(AddErrorCorrection(symbol), -1);
    EXPECT_EQ(Stream(symbol, 14), (std::vector<uint8_t>{1, 2, 3, 4, 0xAB, 0xAB, 0xAB, 0xAB, 0xAB,
                                                        0xAB, 0xAB, 0xAB, 0xAB, 0xAB}));
}

// The codewords of block b of a size, in block order (first data codeword first).
std::vector<uint8_t> BlockCodewords(const Symbol& symbol, const SymbolSize& size, int32_t block) {
    const int32_t shortBlock = size.blockCount > 8 && block >= 8 ? 1 : 0;
    const int32_t length = size.blockDataCodewords - shortBlock + size.blockEccCodewords;
    std::vector<uint8_t> codewords;
    for (int32_t k = 0; k < length; ++k)
        codewords.push_back(symbol.codewords[block + k * size.blockCount]);
    return codewords;
}

// The block as a polynomial (first codeword the highest power) evaluated at alpha^i.
uint8_t Syndrome(const std::vector<uint8_t>& block, int32_t i) {
    uint8_t value = 0;
    for (uint8_t codeword : block)
        value = static_cast<uint8_t>(GfMul(value, GfPower(i)) ^ codeword);
    return value;
}

struct SizeParamName {
    std::string operator()(const ::testing::TestParamInfo<int32_t>& param) const {
        return std::string("Size") + SizeName(param.param);
    }
};

class EccEverySize : public ::testing::TestWithParam<int32_t> {};

// Every block of a correct stream is a Reed-Solomon codeword: it vanishes at the generator's
// roots alpha^1 .. alpha^e. Stale bytes behind the data must not matter.
TEST_P(EccEverySize, BlocksAreCodewordsAndDataStaysInPlace) {
    const int32_t sizeIndex = GetParam();
    const SymbolSize& size = SizeAt(sizeIndex);
    std::mt19937 random(static_cast<uint32_t>(sizeIndex));
    std::vector<uint8_t> data(static_cast<std::size_t>(size.totalDataCodewords));
    for (auto& codeword : data) codeword = static_cast<uint8_t>(random());

    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    std::memset(symbol.codewords, 0x5A, sizeof symbol.codewords);
    LoadDataCodewords(symbol, sizeIndex, data);
    ASSERT_EQ(AddErrorCorrection(symbol), TotalCodewords(size));
    EXPECT_EQ(Stream(symbol, size.totalDataCodewords), data);
    const std::vector<uint8_t> first = Stream(symbol, TotalCodewords(size));

    for (int32_t block = 0; block < size.blockCount; ++block) {
        const std::vector<uint8_t> codewords = BlockCodewords(symbol, size, block);
        for (int32_t i = 1; i <= size.blockEccCodewords; ++i) {
            EXPECT_EQ(Syndrome(codewords, i), 0) << "block " << block << ", alpha^" << i;
        }
    }

    std::memset(symbol.codewords + size.totalDataCodewords, 0xC3,
                static_cast<std::size_t>(TotalCodewords(size) - size.totalDataCodewords));
    ASSERT_EQ(AddErrorCorrection(symbol), TotalCodewords(size));
    EXPECT_EQ(Stream(symbol, TotalCodewords(size)), first);
}

INSTANTIATE_TEST_SUITE_P(ReedSolomon, EccEverySize, ::testing::Range(0, kSizeCount),
                         SizeParamName{});

// 144x144: ten blocks, the last two one data codeword short, so their error-correction
// codewords start the interleaved tail at 1558 and 1559, ahead of block 0's at 1560.
TEST(ReedSolomon, ShortBlocksOfTheLargestSize) {
    const SymbolSize& size = SizeAt(kSize144x144);
    const SymbolPtr handle = MakeSymbol();
    Symbol& symbol = Internals(handle);
    std::vector<uint8_t> data(1558);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i % 10);
    LoadDataCodewords(symbol, kSize144x144, data);
    ASSERT_EQ(AddErrorCorrection(symbol), 2178);
    // Data positions 1550..1557 are the last data codewords of blocks 0..7.
    for (int32_t block = 0; block < 8; ++block) EXPECT_EQ(symbol.codewords[1550 + block], block);
    for (int32_t block = 0; block < 10; ++block) {
        const std::vector<uint8_t> codewords = BlockCodewords(symbol, size, block);
        const std::size_t dataCount = block < 8 ? 156 : 155;
        ASSERT_EQ(codewords.size(), dataCount + 62);
        for (std::size_t k = 0; k < dataCount; ++k) ASSERT_EQ(codewords[k], block);
        EXPECT_EQ(Syndrome(codewords, 1), 0) << "block " << block;
    }
}

}  // namespace
}  // namespace ecc200
