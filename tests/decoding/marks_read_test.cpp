// The user mark as a read sees it in every size: valid only for the identity and the data it was
// made with, kept through random damage up to what the Reed-Solomon blocks can correct, which
// are reported, and a read that fails with one error more. Then the reading export's argument
// checks and matrices that are no symbol. (The round trip tries the product mark's keys.)
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "decoding/read_support.h"
#include "ecc/interleaving.h"
#include "marks/user_identity.h"
#include "marks/user_mark.h"

namespace ecc200 {
namespace {

using testing::ReadModules;

// The user mark's stream positions for this data, keyed with an identity file.
std::vector<int32_t> MarkPositions(int32_t sizeIndex, const std::vector<uint8_t>& data,
                                   const char* identityFile = kUserIdentityFile) {
    MarkState state{};
    EXPECT_EQ(LoadMarkIdentityInto(state, identityFile), kStatusOk);
    int32_t positions[kUserMarkValueCount];
    const int32_t count = UserMarkStreamPositions(
        state, sizeIndex, static_cast<int32_t>(data.size()), data.data(), positions);
    return {positions, positions + count};
}

TEST(UserMarkRead, VerdictsForIdentityDataAndDamage) {
    const testing::IdentityDirectory dir;
    std::mt19937 random(53);
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        SCOPED_TRACE(SizeName(sizeIndex));
        const SymbolSize& size = SizeAt(sizeIndex);
        const int32_t blocks = size.blockCount;
        std::string text = "Marked for reading";  // then 'A' to about half the size
        text.resize(static_cast<std::size_t>(std::max(2, size.totalDataCodewords / 2)), 'A');
        const std::vector<uint8_t> data = testing::Bytes(text);
        const auto marked = testing::Encode({.size = sizeIndex, .userMark = true}, data).modules;
        const std::vector<int32_t> positions = MarkPositions(sizeIndex, data);
        ASSERT_EQ(static_cast<int32_t>(positions.size()), blocks);

        // Another identity is told apart where its places differ: with one block, a mark has
        // only as many places as the block has codewords, so another key may choose the same.
        const auto other = ReadModules(marked, sizeIndex, nullptr, "other.id");
        EXPECT_EQ(other.reading.userMark == ECC200_MARK_VALID,
                  MarkPositions(sizeIndex, data, "other.id") == positions);

        // Random damage to capacity - 1 codewords of each block besides the mark is corrected
        // and reported and leaves the mark valid; one codeword more in any block fails the read.
        const auto capacity = static_cast<std::size_t>(size.blockEccCodewords / 2);
        const auto hit = [&](std::vector<uint8_t>& modules, int32_t position) {
            const auto error = static_cast<uint8_t>(random() % 255 + 1);
            testing::DamageCodeword(modules, sizeIndex, position, error);
        };
        auto damaged = marked;
        std::vector<std::vector<int32_t>> spare;  // each block's other stream positions, shuffled
        for (int32_t block = 0; block < blocks; ++block) {
            spare.emplace_back();
            for (int32_t k = 0; k < BlockLength(size, block); ++k) {
                const int32_t position = InterleavedPosition(blocks, block, k);
                if (position != positions[static_cast<std::size_t>(block)]) {
                    spare.back().push_back(position);
                }
            }
            std::shuffle(spare.back().begin(), spare.back().end(), random);
            for (std::size_t e = 0; e + 1 < capacity; ++e) hit(damaged, spare.back()[e]);
        }
        const auto read = ReadModules(damaged, sizeIndex);
        EXPECT_EQ(std::tuple(read.status, read.Data(), read.reading.userMark,
                             read.reading.userMarkBlocks, read.Errors()),
                  std::tuple(ECC200_OK, data, ECC200_MARK_VALID, blocks,
                             std::vector<int32_t>(spare.size(), size.blockEccCodewords / 2)));
        for (const std::vector<int32_t>& others : spare) {
            auto beyond = damaged;
            hit(beyond, others[capacity - 1]);
            EXPECT_EQ(ReadModules(beyond, sizeIndex).status, ECC200_ERR_UNREADABLE);
        }

        // Block 0's mark changed further (a correction other than the full inversion) and the
        // last block's inversion moved elsewhere, where a mark made for other data would lie:
        // neither block shows the mark.
        auto spoilt = marked;
        testing::DamageCodeword(spoilt, sizeIndex, positions.front(), 0x0F);
        testing::DamageCodeword(spoilt, sizeIndex, positions.back(), 0xFF);
        testing::DamageCodeword(spoilt, sizeIndex, spare.back().front(), 0xFF);
        const auto partial = ReadModules(spoilt, sizeIndex);
        EXPECT_EQ(std::tuple(partial.status, partial.Data(), partial.reading.userMark,
                             partial.reading.userMarkBlocks),
                  std::tuple(ECC200_OK, data, blocks > 2 ? ECC200_MARK_PARTIAL : ECC200_MARK_ABSENT,
                             std::max(blocks - 2, 0)));
    }
}

// Bad arguments give 8. Turned a quarter, mirrored, inverted or without its patterns (its data
// kept), a symbol does not decode (19) and still reports its dimensions; with fewer than a quarter
// of its pattern modules wrong (the top row light) it does.
TEST(ReadMatrixExport, ArgumentsAndMatricesThatAreNoSymbol) {
    const testing::ScratchDirectory dir;
    const auto modules = testing::Encode({.size = ECC200_SIZE_10X10}, {'A', 'B'}).modules;
    std::vector<uint8_t> turned(100), mirrored(100), inverted(100), bare(100), untimed(100);
    for (std::size_t i = 0; i < 100; ++i) {
        turned[i % 10 * 10 + 9 - i / 10] = mirrored[i / 10 * 10 + 9 - i % 10] = modules[i];
        inverted[i] = modules[i] != 0 ? 0 : 1;
        const bool border = i < 10 || i >= 90 || i % 10 == 0 || i % 10 == 9;
        bare[i] = border ? 0 : modules[i];
        untimed[i] = i < 10 ? 0 : modules[i];
    }
    ECC200_Reading reading;
    const std::string tooLong(ECC200_MAX_PRODUCT_ID + 1, 'x');
    const std::tuple<const uint8_t*, int32_t, const char*, ECC200_Reading*, int32_t> cases[] = {
        {modules.data(), 10, nullptr, &reading, ECC200_OK},
        {nullptr, 10, nullptr, &reading, ECC200_ERR_PARAMETER},
        {modules.data(), 10, nullptr, nullptr, ECC200_ERR_PARAMETER},
        {modules.data(), 11, nullptr, &reading, ECC200_ERR_PARAMETER},
        {modules.data(), 0, nullptr, &reading, ECC200_ERR_PARAMETER},
        {modules.data(), -10, nullptr, &reading, ECC200_ERR_PARAMETER},
        {modules.data(), 10, "", &reading, ECC200_ERR_PARAMETER},
        {modules.data(), 10, tooLong.c_str(), &reading, ECC200_ERR_PARAMETER},
        {turned.data(), 10, nullptr, &reading, ECC200_ERR_UNREADABLE},
        {mirrored.data(), 10, nullptr, &reading, ECC200_ERR_UNREADABLE},
        {inverted.data(), 10, nullptr, &reading, ECC200_ERR_UNREADABLE},
        {bare.data(), 10, nullptr, &reading, ECC200_ERR_UNREADABLE},
        {untimed.data(), 10, nullptr, &reading, ECC200_OK},
    };
    for (const auto& [matrix, side, productId, out, status] : cases) {
        reading.rows = reading.cols = -1;
        EXPECT_EQ(ReadMatrix_ECC200(matrix, side, side, productId, nullptr, out), status);
        EXPECT_TRUE(status != ECC200_ERR_UNREADABLE || reading.rows + reading.cols == 20);
    }
}

}  // namespace
}  // namespace ecc200
