// The marks as a read sees them: the user mark's verdict (valid only for the identity and the
// data it was made with, kept through damage the blocks can still correct), the product mark
// lifted only with its identifier and identity, and the export's argument checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "decoding/read_support.h"
#include "ecc/interleaving.h"
#include "marks/user_identity.h"
#include "marks/user_mark.h"

namespace ecc200 {
namespace {

using testing::EncodeModules;
using testing::ReadModules;

constexpr char kOtherIdentity[] = "OTHER**FFEEDDCCBBAA99887766-00112233445566778899AA";
// Sizes with one, two, four, six, eight and ten blocks, and rectangles.
constexpr int32_t kSizes[] = {0, 1, 6, 9, 14, 15, 16, 20, 21, 22, 23, 24, 29};

// Data that fills about half the size, the seed second (the mark never depends on the first
// byte).
std::vector<uint8_t> Payload(int32_t sizeIndex, char seed) {
    std::string text = std::string("M") + seed + "arked for reading";
    text.resize(std::max<std::size_t>(
                    2, static_cast<std::size_t>(SizeAt(sizeIndex).totalDataCodewords) / 2),
                seed);
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Encode(int32_t sizeIndex, const std::vector<uint8_t>& data, bool user,
                            const char* productId = nullptr) {
    int32_t status = -1, used = -1;
    auto modules = EncodeModules({.size = sizeIndex, .userMark = user, .productId = productId},
                                 data, status, used);
    EXPECT_EQ(status, ECC200_OK);
    return modules;
}

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
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    std::ofstream("other.id") << kOtherIdentity;
    std::mt19937 random(53);
    for (const int32_t sizeIndex : kSizes) {
        SCOPED_TRACE(SizeName(sizeIndex));
        const SymbolSize& size = SizeAt(sizeIndex);
        const int32_t blocks = size.blockCount;
        const auto data = Payload(sizeIndex, 'A');
        const auto marked = Encode(sizeIndex, data, true);

        // The identity it was made with, and another one. With one block, a mark has only as
        // many places as the block has codewords, so another key may choose the same one; the
        // verdict can only tell keys apart where their positions differ.
        const std::vector<int32_t> positions = MarkPositions(sizeIndex, data);
        EXPECT_EQ(ReadModules(marked, sizeIndex).reading.userMark, ECC200_MARK_VALID);
        const auto other = ReadModules(marked, sizeIndex, nullptr, "other.id");
        EXPECT_EQ(other.status, ECC200_OK);
        const bool samePlaces = MarkPositions(sizeIndex, data, "other.id") == positions;
        EXPECT_EQ(other.reading.userMark == ECC200_MARK_VALID, samePlaces);

        // No identity: the data still reads, unchecked.
        const auto missing = ReadModules(marked, sizeIndex, nullptr, "missing.id");
        EXPECT_EQ(std::tuple(missing.status, missing.reading.userMark),
                  std::tuple(ECC200_OK, ECC200_MARK_UNCHECKED));

        // Damage up to what each block can still correct besides the mark leaves it valid.
        ASSERT_EQ(static_cast<int32_t>(positions.size()), blocks);
        auto damaged = marked;
        for (int32_t block = 0; block < blocks; ++block) {
            const int32_t markIndex = positions[static_cast<std::size_t>(block)] / blocks;
            int32_t placed = 0;
            for (int32_t k = 0; placed < size.blockEccCodewords / 2 - 1; ++k) {
                if (k == markIndex) continue;
                testing::DamageCodeword(damaged, sizeIndex, InterleavedPosition(blocks, block, k),
                                        static_cast<uint8_t>(random() % 255 + 1));
                ++placed;
            }
        }
        const auto read = ReadModules(damaged, sizeIndex);
        ASSERT_EQ(read.status, ECC200_OK);
        EXPECT_EQ(read.Data(), data);
        EXPECT_EQ(std::tuple(read.reading.userMark, read.reading.userMarkBlocks),
                  std::tuple(ECC200_MARK_VALID, blocks));
        EXPECT_EQ(read.Errors(), std::vector<int32_t>(static_cast<std::size_t>(blocks),
                                                      size.blockEccCodewords / 2));

        // The mark undone in the first block: partial (absent with one block).
        auto undone = marked;
        testing::DamageCodeword(undone, sizeIndex, positions[0], 0xFF);
        const auto partial = ReadModules(undone, sizeIndex);
        EXPECT_EQ(std::tuple(partial.reading.userMark, partial.reading.userMarkBlocks),
                  std::tuple(blocks == 1 ? ECC200_MARK_ABSENT : ECC200_MARK_PARTIAL, blocks - 1));

        // The mark's inversions copied from a symbol of other data (whose mark lies elsewhere)
        // onto this data's symbol.
        char seed = 'B';
        while (MarkPositions(sizeIndex, Payload(sizeIndex, seed)) == positions && seed < 'z') {
            ++seed;
        }
        const auto otherData = Payload(sizeIndex, seed);
        const auto otherPlain = Encode(sizeIndex, otherData, false);
        const auto otherMarked = Encode(sizeIndex, otherData, true);
        auto copied = Encode(sizeIndex, data, false);
        for (std::size_t i = 0; i < copied.size(); ++i) {
            copied[i] ^= static_cast<uint8_t>(otherPlain[i] ^ otherMarked[i]);
        }
        const auto forged = ReadModules(copied, sizeIndex);
        ASSERT_EQ(forged.status, ECC200_OK);
        EXPECT_EQ(forged.Data(), data);
        EXPECT_NE(forged.reading.userMark, ECC200_MARK_VALID);
    }
}

TEST(ProductMarkRead, OnlyTheRightKeyLiftsIt) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    std::ofstream("other.id") << kOtherIdentity;
    for (const int32_t sizeIndex : kSizes) {
        SCOPED_TRACE(SizeName(sizeIndex));
        const auto data = Payload(sizeIndex, 'P');
        for (const bool user : {false, true}) {
            const auto modules = Encode(sizeIndex, data, user, testing::kProductId);
            const auto read = ReadModules(modules, sizeIndex, testing::kProductId);
            ASSERT_EQ(read.status, ECC200_OK);
            EXPECT_EQ(read.Data(), data);
            EXPECT_EQ(read.reading.productMarkLifted, 1);
            EXPECT_EQ(read.reading.userMark, user ? ECC200_MARK_VALID : ECC200_MARK_ABSENT);
            const std::tuple<const char*, const char*, int32_t> attempts[] = {
                {nullptr, nullptr, ECC200_ERR_UNREADABLE},
                {"PRODUCT-0042/C", nullptr, ECC200_ERR_UNREADABLE},
                {testing::kProductId, "other.id", ECC200_ERR_UNREADABLE},
                {testing::kProductId, "missing.id", ECC200_ERR_NO_IDENTITY},
            };
            for (const auto& [productId, identity, status] : attempts) {
                EXPECT_EQ(ReadModules(modules, sizeIndex, productId, identity).status, status);
            }
        }
    }
}

TEST(ReadMatrixExport, ArgumentsAndMatricesThatAreNoSymbol) {
    testing::ScratchDirectory dir;
    const auto modules = Encode(ECC200_SIZE_10X10, {'A', 'B'}, false);
    ECC200_Reading reading;
    const std::string tooLong(ECC200_MAX_PRODUCT_ID + 1, 'x');
    const std::tuple<const uint8_t*, int32_t, int32_t, const char*, ECC200_Reading*, int32_t>
        cases[] = {
            {modules.data(), 10, 10, nullptr, &reading, ECC200_OK},
            {nullptr, 10, 10, nullptr, &reading, ECC200_ERR_PARAMETER},
            {modules.data(), 10, 10, nullptr, nullptr, ECC200_ERR_PARAMETER},
            {modules.data(), 11, 11, nullptr, &reading, ECC200_ERR_PARAMETER},
            {modules.data(), 0, 0, nullptr, &reading, ECC200_ERR_PARAMETER},
            {modules.data(), -10, -10, nullptr, &reading, ECC200_ERR_PARAMETER},
            {modules.data(), 10, 10, "", &reading, ECC200_ERR_PARAMETER},
            {modules.data(), 10, 10, tooLong.c_str(), &reading, ECC200_ERR_PARAMETER},
        };
    for (const auto& [matrix, rows, cols, productId, out, status] : cases) {
        EXPECT_EQ(ReadMatrix_ECC200(matrix, rows, cols, productId, nullptr, out), status);
    }

    // Upright only: turned a quarter, mirrored, inverted or blank, the patterns do not hold.
    const auto turned = [&] {
        std::vector<uint8_t> t(100);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                t[static_cast<std::size_t>(c * 10 + 9 - r)] =
                    modules[static_cast<std::size_t>(r * 10 + c)];
        return t;
    }();
    auto mirrored = modules;
    for (std::size_t r = 0; r < 10; ++r)
        std::reverse(mirrored.begin() + static_cast<std::ptrdiff_t>(r * 10),
                     mirrored.begin() + static_cast<std::ptrdiff_t>(r * 10 + 10));
    auto inverted = modules;
    for (uint8_t& m : inverted) m = m != 0 ? 0 : 1;
    for (const auto& matrix : {turned, mirrored, inverted, std::vector<uint8_t>(100, 0)}) {
        const auto read = ReadModules(matrix, ECC200_SIZE_10X10);
        EXPECT_EQ(std::tuple(read.status, read.reading.rows, read.reading.cols),
                  std::tuple(ECC200_ERR_UNREADABLE, 10, 10));
    }
}

}  // namespace
}  // namespace ecc200
