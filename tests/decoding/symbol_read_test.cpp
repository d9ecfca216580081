// Our encoder's symbols read back through ReadMatrix_ECC200: every size, every scheme, the options
// and both marks, with the reads that must fail (no or a wrong product key or identity) or cannot
// check the user mark. The user mark in every size: valid only for the identity and the data it
// was made with, kept through random damage up to what the Reed-Solomon blocks can correct, which
// are reported, and a read that fails with one error more. The export's argument checks and
// matrices that are no symbol. (The reader tests read the field cases with ours too.)
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "ecc/interleaving.h"
#include "geometry/assembly.h"
#include "geometry/placement_map.h"
#include "marks/user_identity.h"
#include "marks/user_mark.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using namespace testing;  // the shared test helpers, not GoogleTest

constexpr char kProductId[] = "PRODUCT-0042/B";

// A scratch directory holding user.id (the sample identity) and other.id (another one).
struct IdentityDirectory : ScratchDirectory {
    IdentityDirectory() {
        WriteIdentity(kSampleIdentity);
        std::ofstream("other.id") << "OTHER**FFEEDDCCBBAA99887766-00112233445566778899AA";
    }
};

// A reading and the status of the read that filled it.
struct ReadResult : ECC200_Reading {
    int32_t status = -1;

    std::vector<uint8_t> Data() const { return {data, data + dataLength}; }
    std::vector<int32_t> Errors() const { return {errors, errors + blockCount}; }
};

ReadResult ReadModules(const std::vector<uint8_t>& modules, int32_t sizeIndex,
                       const char* productId = nullptr, const char* identityFile = nullptr) {
    const SymbolSize& size = SizeAt(sizeIndex);
    ReadResult r{};
    r.status = ReadMatrix_ECC200(modules.data(), size.symbolRows, size.symbolCols, productId,
                                 identityFile, &r);
    return r;
}

// Flips the modules (top row first) of the codeword at stream position `codeword` where `error`
// has a one bit, found through the library's placement map and assembly rules.
void DamageCodeword(std::vector<uint8_t>& modules, int32_t sizeIndex, int32_t codeword,
                    uint8_t error) {
    static const SymbolPtr maps = MakeSymbol();  // the cache of built maps, one per size
    ASSERT_NE(BuildPlacementMap(Internals(maps), sizeIndex), 0);
    const SymbolSize& size = SizeAt(sizeIndex);
    for (int32_t bit = 0; bit < 8; ++bit) {
        if ((error & (0x80u >> bit)) == 0) continue;
        const PlacementEntry entry = Internals(maps).placementMaps[sizeIndex][8 * codeword + bit];
        const int32_t fromBottom = SymbolRowOfMappingRow(size, MappingRows(size) - 1 - entry.row);
        const int32_t col = SymbolColOfMappingCol(size, entry.col);
        uint8_t& module = modules[static_cast<std::size_t>(
            (size.symbolRows - 1 - fromBottom) * size.symbolCols + col)];
        module = module != 0 ? 0 : 1;
    }
}

// Bytes a scheme carries (Base 256 any; GS1 data: digits with group separators).
std::vector<uint8_t> DataFor(int32_t scheme, bool gs1, std::size_t length, std::mt19937& random) {
    const std::string upper = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string lower = "abcdefghijklmnopqrstuvwxyz";
    const std::string alphabets[] = {upper + lower + ".-/\x1D\xC4\x01",
                                     upper + "xyz\xE9\x7F",
                                     upper + "a,\xC3",
                                     "",
                                     upper + ";<=>?@[\\]^",
                                     lower + " 0123456789A.\xC3",
                                     upper + "\r*>"};
    const std::string& alphabet = gs1 ? std::string("0123456789\x1D") : alphabets[scheme];
    std::vector<uint8_t> data(length);
    for (uint8_t& byte : data) {
        const auto pick = static_cast<uint32_t>(random());
        byte = alphabet.empty() ? static_cast<uint8_t>(pick)
                                : static_cast<uint8_t>(alphabet[pick % alphabet.size()]);
    }
    if (gs1) data[0] = '0';  // GS1 data opens with a digit
    return data;
}

// The settings of one encode; marks read user.id from the current directory.
struct EncodeSettings {
    int32_t scheme = ECC200_SCHEME_AUTO;
    int32_t size = ECC200_SIZE_AUTO;
    int32_t encodation = ECC200_ENCODATION_LOOKAHEAD;
    int32_t gs1 = 0;
    int32_t eci = 0;
    bool userMark = false;
    const char* productId = nullptr;
};

// Encodes through the exports and reads back what the settings promise; the module buffer, empty
// when the encode fails.
std::vector<uint8_t> ReadsBack(const EncodeSettings& s, const std::vector<uint8_t>& data) {
    const SymbolPtr handle =
        SymbolWith(s.scheme, s.size, {reinterpret_cast<const char*>(data.data()), data.size()});
    SymbolHandle h = handle.get();
    EXPECT_EQ(SetOption_ECC200(h, ECC200_OPTION_ENCODATION, s.encodation) +
                  SetOption_ECC200(h, ECC200_OPTION_GS1, s.gs1) +
                  SetOption_ECC200(h, ECC200_OPTION_ECI, s.eci) +
                  SetSignUser_ECC200(h, s.userMark) +
                  SetSignProduct_ECC200(h, s.productId != nullptr, s.productId),
              0);
    int32_t status = -1;
    const std::vector<uint8_t> modules = EncodeToModules(h, status);
    const int32_t sizeIndex = GetDimension_ECC200(h);
    if (status != ECC200_OK) return {};
    const auto read = ReadModules(modules, sizeIndex, s.productId);
    const auto blocks = static_cast<std::size_t>(SizeAt(sizeIndex).blockCount);
    const std::string id = s.gs1 != 0 ? "]d2" : s.eci != 0 ? "]d4" : "]d1";
    EXPECT_EQ(
        std::tuple(read.status, read.Data(), read.gs1, read.eci, std::string(read.symbologyId),
                   read.productMarkLifted, read.userMark, read.userMarkBlocks, read.Errors()),
        std::tuple(ECC200_OK, data, s.gs1, s.eci == 0 ? -1 : s.eci, id,
                   s.productId != nullptr ? 1 : 0,
                   s.userMark ? ECC200_MARK_VALID : ECC200_MARK_ABSENT,
                   s.userMark ? static_cast<int32_t>(blocks) : 0,
                   std::vector<int32_t>(blocks, s.userMark ? 1 : 0)));
    if (s.productId != nullptr) {
        // Without the identifier, with a wrong one or with a wrong identity, nothing decodes.
        const std::tuple<const char*, const char*, int32_t> attempts[] = {
            {nullptr, nullptr, ECC200_ERR_UNREADABLE},
            {"PRODUCT-0042/C", nullptr, ECC200_ERR_UNREADABLE},
            {s.productId, "other.id", ECC200_ERR_UNREADABLE},
            {s.productId, "missing.id", ECC200_ERR_NO_IDENTITY}};
        for (const auto& [productId, identity, expected] : attempts) {
            EXPECT_EQ(ReadModules(modules, sizeIndex, productId, identity).status, expected);
        }
    } else {
        // Without an identity the data still reads, its mark unchecked.
        const auto unchecked = ReadModules(modules, sizeIndex, nullptr, "missing.id");
        EXPECT_EQ(std::tuple(unchecked.status, unchecked.Data(), unchecked.userMark),
                  std::tuple(ECC200_OK, data, ECC200_MARK_UNCHECKED));
    }
    return modules;
}

constexpr EncodeSettings kOptions[] = {{},
                                       {.encodation = ECC200_ENCODATION_SMALLEST},
                                       {.gs1 = 1},
                                       {.eci = 26},
                                       {.encodation = ECC200_ENCODATION_SMALLEST, .eci = 5000},
                                       {.eci = 811799}};

TEST(SymbolRead, EverySizeSchemeOptionAndMark) {
    const IdentityDirectory dir;
    std::mt19937 random(19);
    int32_t reads = 0;
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        for (int32_t scheme = ECC200_SCHEME_AUTO; scheme <= ECC200_SCHEME_X12; ++scheme) {
            for (int32_t k = 0; k < 6; ++k) {
                // Over the schemes, each option meets no mark, the user mark, the product mark
                // and both.
                EncodeSettings s = kOptions[k];
                s.scheme = scheme;
                s.size = sizeIndex;
                s.userMark = (k + scheme) % 2 == 1;
                s.productId = (k + scheme) / 2 % 2 == 1 ? kProductId : nullptr;
                SCOPED_TRACE(std::string(SizeName(sizeIndex)) + " scheme " +
                             std::to_string(scheme) + " option " + std::to_string(k));
                // Data of about two thirds of the size, shorter while it does not fit.
                auto length = static_cast<std::size_t>(SizeAt(sizeIndex).totalDataCodewords) * 2;
                for (length = length / 3 + 1; length > 0; length = length * 3 / 4) {
                    if (!ReadsBack(s, DataFor(scheme, s.gs1 != 0, length, random)).empty()) break;
                }
                reads += length > 0 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(reads, 48 * 7 * 6 * 3 / 4);  // most combinations carry their data
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

TEST(SymbolRead, UserMarkVerdictsForIdentityDataAndDamage) {
    const IdentityDirectory dir;
    std::mt19937 random(53);
    const auto error = [&] { return static_cast<uint8_t>(random() % 255 + 1); };
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        SCOPED_TRACE(SizeName(sizeIndex));
        const SymbolSize& size = SizeAt(sizeIndex);
        const int32_t blocks = size.blockCount;
        const auto half = static_cast<std::size_t>(std::max(2, size.totalDataCodewords / 2));
        const std::vector<uint8_t> data(half, 'M');
        const auto marked = ReadsBack({.size = sizeIndex, .userMark = true}, data);
        ASSERT_FALSE(marked.empty());
        const std::vector<int32_t> positions = MarkPositions(sizeIndex, data);
        ASSERT_EQ(static_cast<int32_t>(positions.size()), blocks);

        // Another identity is told apart where its places differ: with one block, a mark has
        // only as many places as the block has codewords, so another key may choose the same.
        EXPECT_EQ(ReadModules(marked, sizeIndex, nullptr, "other.id").userMark == ECC200_MARK_VALID,
                  MarkPositions(sizeIndex, data, "other.id") == positions);

        // Random damage to capacity - 1 codewords of each block besides the mark is corrected
        // and reported and leaves the mark valid; one codeword more in any block fails the read.
        const auto capacity = static_cast<std::size_t>(size.blockEccCodewords / 2);
        auto damaged = marked;
        std::vector<std::vector<int32_t>> spare;  // each block's other stream positions, shuffled
        for (int32_t block = 0; block < blocks; ++block) {
            spare.emplace_back();
            for (int32_t k = 0; k < BlockLength(size, block); ++k) {
                const int32_t p = InterleavedPosition(blocks, block, k);
                if (p != positions[static_cast<std::size_t>(block)]) spare.back().push_back(p);
            }
            std::shuffle(spare.back().begin(), spare.back().end(), random);
            for (std::size_t e = 0; e + 1 < capacity; ++e) {
                DamageCodeword(damaged, sizeIndex, spare.back()[e], error());
            }
        }
        const auto read = ReadModules(damaged, sizeIndex);
        EXPECT_EQ(
            std::tuple(read.status, read.Data(), read.userMark, read.userMarkBlocks, read.Errors()),
            std::tuple(ECC200_OK, data, ECC200_MARK_VALID, blocks,
                       std::vector<int32_t>(spare.size(), size.blockEccCodewords / 2)));
        for (const std::vector<int32_t>& others : spare) {
            auto beyond = damaged;
            DamageCodeword(beyond, sizeIndex, others[capacity - 1], error());
            EXPECT_EQ(ReadModules(beyond, sizeIndex).status, ECC200_ERR_UNREADABLE);
        }

        // Block 0's mark changed further (a correction other than the full inversion) and the
        // last block's inversion moved elsewhere, where a mark made for other data would lie:
        // neither block shows the mark.
        auto spoilt = marked;
        DamageCodeword(spoilt, sizeIndex, positions.front(), 0x0F);
        DamageCodeword(spoilt, sizeIndex, positions.back(), 0xFF);
        DamageCodeword(spoilt, sizeIndex, spare.back().front(), 0xFF);
        const auto partial = ReadModules(spoilt, sizeIndex);
        EXPECT_EQ(
            std::tuple(partial.status, partial.Data(), partial.userMark, partial.userMarkBlocks),
            std::tuple(ECC200_OK, data, blocks > 2 ? ECC200_MARK_PARTIAL : ECC200_MARK_ABSENT,
                       std::max(blocks - 2, 0)));
    }
}

// Bad arguments give 8. Turned a quarter, mirrored, inverted or without its patterns (its data
// kept), a symbol does not decode (19) and still reports its dimensions; with fewer than a quarter
// of its pattern modules wrong (the top row light) it does.
TEST(SymbolRead, ExportArgumentsAndMatricesThatAreNoSymbol) {
    const IdentityDirectory dir;
    const auto modules = ReadsBack({.size = ECC200_SIZE_10X10}, {'A', 'B'});
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
