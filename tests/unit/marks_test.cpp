// The keyed marks' parts: the keystream against published RC4 output, loading user.id, the user
// mark's chunk sums, positions and key, and the product mark's key and walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "geometry/size_table.h"
#include "marks/keystream.h"
#include "marks/product_mark.h"
#include "marks/user_identity.h"
#include "marks/user_mark.h"
#include "marks/user_mark_parts.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

std::string Hex(const uint8_t* bytes, size_t count) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (size_t n = 0; n < count; ++n) out += {digits[bytes[n] >> 4], digits[bytes[n] & 15]};
    return out;
}

TEST(Keystream, MatchesRfc6229) {
    // Keys of the bytes 1, 2, ..., keyLength; 16 bytes from the offset.
    for (const auto& [keyLength, offset, expected] :
         {std::tuple{5, 0, "b2396305f03dc027ccc3524a0a1118a8"},
          {5, 4096, "ff25b58995996707e51fbdf08b34d875"},
          {32, 1536, "3e34135c79db010200767651cf263073"}}) {
        MarkState state{};
        for (int n = 0; n < keyLength; ++n) state.key[n] = static_cast<uint8_t>(n + 1);
        state.keyLength = keyLength;
        ScheduleMarkKey(state);
        DiscardMarkBytes(state, offset);
        uint8_t produced[16];
        for (uint8_t& b : produced) b = NextMarkByte(state);
        EXPECT_EQ(Hex(produced, 16), expected) << keyLength << " @" << offset;
    }
}

// file "\x01" stands for no file at all, identityLength 0 for a failed load, and fieldBytes is
// the hex of the 22 bytes after the prefix.
struct LoadCase {
    const char* name;
    std::string file;
    uint32_t reason;
    int32_t identityLength;
    std::string fieldBytes;
};

const std::string kFields = "00112233445566778899AA-0123456789abcdefABCDEF";
const std::string kBytes = "00112233445566778899aa0123456789abcdefabcdef", kBad(44, 'f');

// clang-format off
const LoadCase kLoadCases[] = {
    {"missing", "\x01", kReasonUnavailable, 0, ""},
    {"whiteSpaceOnly", " \n\t \r\n", kReasonUnavailable, 0, ""},
    {"oneStar", "ACME*" + kFields, kReasonMalformed, 0, ""},
    {"sixCharPrefixAmidWhiteSpace", "\n  ACME**" + kFields + " more\ntokens", kReasonNone, 28, kBytes},
    {"lowerCaseHex", "a*b*00112233445566778899aax0123456789abcdefABCDEF", kReasonNone, 26, kBytes},
    {"badHighDigitGivesF0", "ID***0112233445566778899AA-0123456789abcdefABCDEF", kReasonMalformed, 26, "f0" + kBytes.substr(2)},
    {"badLowDigitGives255", "ID**00112233445566778899AA-0g23456789abcdefABCDEF", kReasonMalformed, 26, kBytes.substr(0, 22) + "ff" + kBytes.substr(24)},
    // Read as bytes: an end-of-file byte (0x1A) is an ordinary character, CR LF white space.
    {"endOfFileByteSeparator", "\r\nID**00112233445566778899AA\x1A" + kFields.substr(23) + "\r\n", kReasonNone, 26, kBytes},
    {"endOfFileBytePrefix", "\x1A**" + kFields, kReasonNone, 25, kBytes},
    {"tokenEndsInFieldB", "ID**00112233445566778899AA-012", kReasonMalformed, 26, kBytes.substr(0, 24) + std::string(20, 'f')},
    {"tokenEndsAfterPrefix", "ID**", kReasonMalformed, 26, kBad},
    // Only 257 characters of a token are read: a second "*" at 299 is never seen, one at 255
    // is, and field A then starts on the last character read.
    {"starBeyond257", "*" + std::string(298, 'p') + "*" + kFields, kReasonMalformed, 0, ""},
    {"starWithin257", "*" + std::string(254, 'p') + "*" + kFields, kReasonMalformed, 278, kBad},
};
// clang-format on

TEST(LoadUserIdentity, LoadsOrFailsWithTheRightReason) {
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.name);
        testing::ScratchDirectory dir;
        if (c.file != "\x01") dir.WriteIdentity(c.file);
        MarkState state{};
        state.identityLength = 3;  // an earlier identity, kept by a failed load
        const bool loads = c.identityLength != 0;
        ASSERT_EQ(std::tuple(LoadUserIdentity(state), state.loadState, state.loadReason,
                             state.identityLength),
                  std::tuple(loads, loads ? kLoadDone : kLoadFailed, c.reason,
                             loads ? c.identityLength : 3));
        if (!loads) continue;
        const auto prefix = static_cast<size_t>(c.identityLength - 22);
        const size_t at = c.file.find_first_not_of(" \r\n");
        EXPECT_EQ(std::string(state.identity, state.identity + prefix), c.file.substr(at, prefix));
        EXPECT_EQ(Hex(state.identity + prefix, 22), c.fieldBytes);
    }
}

// Sets one byte at a time and checks which chunks see it.
TEST(UserMark, ChunksCoverExactlyTheirIndices) {
    struct Case {
        int32_t n, lastChunk;
        std::vector<std::array<int32_t, 3>> spans;  // chunk, first and last index it covers
    };
    uint8_t sums[kDataChunkCount];
    for (const Case& c : {Case{1, -1, {}}, Case{3, 2, {{0, 1, 0}, {1, 1, 1}, {2, 2, 2}}},
                          Case{10, 5, {{1, 1, 1}, {2, 2, 3}, {3, 3, 5}, {5, 5, 9}}},
                          Case{100, 34, {{1, 2, 2}, {2, 4, 5}, {34, 68, 99}}},
                          Case{3116, 95, {{1, 32, 32}, {95, 3040, 3115}}}}) {
        std::vector<uint8_t> data(static_cast<size_t>(c.n), 0);
        for (int32_t at = 0; at < c.n; ++at) {
            data[static_cast<size_t>(at)] = 1;
            SumDataChunks(c.n, data.data(), sums);
            data[static_cast<size_t>(at)] = 0;
            for (int32_t k = c.lastChunk + 1; k < kDataChunkCount; ++k) ASSERT_EQ(sums[k], 0);
            for (const auto& [k, first, last] : c.spans) {
                ASSERT_EQ(sums[k], at >= first && at <= last ? 1 : 0)
                    << c.n << ":" << k << "@" << at;
            }
        }
    }
}

TEST(UserMark, PositionsOfGivenValues) {
    struct Case {
        int32_t sizeIndex, values[kUserMarkValueCount];
        std::vector<std::pair<int32_t, int32_t>> expected;  // block, position
    };
    for (const Case& c :
         {Case{0, {255}, {{0, 7}}}, Case{14, {200, 255}, {{0, 56}, {1, 257}}},
          Case{23, {219, 0, 0, 100, 0, 0, 0, 0, 0, 255}, {{0, 0}, {1, 211}, {3, 313}, {9, 259}}},
          Case{21,
               {0, 255, 255, 255, 255, 255},
               {{0, 0}, {1, 253}, {2, 254}, {3, 255}, {4, 256}, {5, 257}}}}) {
        const SymbolSize& size = SizeAt(c.sizeIndex);
        int32_t positions[kUserMarkValueCount] = {};
        ASSERT_EQ(UserMarkPositions(c.values, size.blockCount,
                                    size.blockDataCodewords + size.blockEccCodewords, positions),
                  size.blockCount);
        for (const auto& [block, position] : c.expected) {
            EXPECT_EQ(positions[block], position) << SizeName(c.sizeIndex) << " block " << block;
        }
    }
}

const std::string kIdentity = "ACME**" + std::string(148, '\xA7');  // the longest a key holds

std::unique_ptr<MarkState> StateWith(const std::string& identity) {
    auto state = std::make_unique<MarkState>();
    std::memcpy(state->identity, identity.data(), identity.size());
    state->identityLength = static_cast<int32_t>(identity.size());
    return state;
}

// Checks the key a mark left in state against one composed here: head (the two size bytes and
// up to 100 bytes), zeros up to byte 101, then the identity. Returns the keystream after discard
// bytes.
std::unique_ptr<MarkState> ExpectKey(const MarkState& state, const std::string& head,
                                     int32_t discard) {
    auto reference = StateWith(kIdentity);
    std::memcpy(reference->key, head.data(), head.size());
    std::memcpy(reference->key + 102, kIdentity.data(), kIdentity.size());
    reference->keyLength = 102 + static_cast<int32_t>(kIdentity.size());
    EXPECT_EQ(state.keyLength, reference->keyLength);
    EXPECT_EQ(0, std::memcmp(state.key, reference->key, sizeof state.key)) << head;
    ScheduleMarkKey(*reference);
    DiscardMarkBytes(*reference, discard);
    return reference;
}

TEST(UserMark, ValuesFollowTheKeyAfterTenDiscardedBytes) {
    int32_t values[kUserMarkValueCount] = {};
    auto state = StateWith(kIdentity);
    const auto* abc = reinterpret_cast<const uint8_t*>("ABC");
    ASSERT_TRUE(DeriveUserMarkValues(*state, 3, abc, values, 144, 18));
    auto reference = ExpectKey(*state, std::string("\x90\x12\0BC", 5), 10);
    for (const int32_t value : values) EXPECT_EQ(value, NextMarkByte(*reference));
}

struct Area {
    uint8_t cells[kMatrixSide][kMatrixSide] = {};
    bool operator==(const Area& other) const { return !std::memcmp(cells, other.cells, 20736); }
};

// The key starts with the mapping matrix's size and the first inverted cell follows from the
// first byte after keyLength discarded ones; only the rows x cols area changes, and a second
// walk with the same key undoes the first.
TEST(ProductMark, KeyWalkAndUndo) {
    for (const auto& [sizeIndex, rows, cols] :
         {std::array{0, 8, 8}, {23, 132, 132}, {24, 6, 16}}) {  // 10x10, 144x144, 8x18
        auto area = std::make_unique<Area>();
        auto state = StateWith(kIdentity);
        ASSERT_TRUE(ApplyProductMark(*state, area->cells, "PRODUCT-7", rows, cols));
        const std::string head = {static_cast<char>(rows), static_cast<char>(cols)};
        const uint8_t first =
            NextMarkByte(*ExpectKey(*state, head + "PRODUCT-7", state->keyLength));
        EXPECT_TRUE((first & 0x38) == 0 || area->cells[0][first & 7] == 1) << sizeIndex;
        int32_t changed = 0;
        for (int32_t i = 0; i < kMatrixSide * kMatrixSide; ++i) {
            if (area->cells[i / kMatrixSide][i % kMatrixSide] == 0) continue;
            ++changed;
            EXPECT_TRUE(i / kMatrixSide < rows && i % kMatrixSide < cols) << sizeIndex << " " << i;
        }
        // Steps of 0..7 invert about two cells in nine.
        EXPECT_NEAR(changed, rows * cols * 2 / 9.0, rows * cols / 40.0 + 8) << sizeIndex;
        ASSERT_TRUE(ApplyProductMark(*StateWith(kIdentity), area->cells, "PRODUCT-7", rows, cols));
        EXPECT_TRUE(*area == Area{}) << sizeIndex;
    }
}

// A 100-character identifier is keyed whole, a 101-character one refused; refusals change
// nothing, not even the key.
TEST(ProductMark, EveryIdentifierCharacterMattersAndRefusalsChangeNothing) {
    auto walk = [](const std::string& productId, const std::string& identity, int32_t rows) {
        auto area = std::make_unique<Area>();
        auto state = StateWith(identity);
        state->keyLength = 77;
        const bool ran = ApplyProductMark(*state, area->cells, productId.c_str(), rows, 20);
        EXPECT_EQ(ran, state->keyLength != 77) << productId.size() << " " << identity.size();
        return area;
    };
    const std::string hundred(100, 'Q');
    const auto base = walk(hundred, kIdentity, 20);
    EXPECT_FALSE(*walk(hundred.substr(0, 99) + "R", kIdentity, 20) == *base);
    EXPECT_TRUE(*walk(hundred + "Q", kIdentity, 20) == Area{});
    EXPECT_TRUE(*walk("P", std::string(155, 'i'), 20) == Area{});
    EXPECT_TRUE(*walk("P", kIdentity, 145) == Area{});
}

// The codeword stream after a user mark on an all-zero 144x144 stream (ten blocks).
std::vector<uint8_t> UserMarked(std::string_view data) {
    auto handle = testing::MakeSymbol();
    Symbol& s = testing::Internals(handle);
    testing::SetData(handle, data);
    s.sizeIndex = 23;
    s.codewordCount = TotalCodewords(SizeAt(23));
    if (LoadMarkIdentity(s.markState) == kStatusOk) ApplyUserMark(*s.markState, s);
    return std::vector<uint8_t>(s.codewords, s.codewords + kCodewordCapacity);
}

TEST(UserMark, FollowsChunkedDataButNeverTheFirstByte) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const std::string data = "The quick brown fox jumps over the lazy dog";
    const auto base = UserMarked(data);
    EXPECT_EQ(std::count(base.begin(), base.end(), 0xFF), 10);
    EXPECT_EQ(UserMarked(data), base);
    EXPECT_EQ(UserMarked("X" + data.substr(1)), base);
    EXPECT_NE(UserMarked(data.substr(0, 1) + "X" + data.substr(2)), base);
}

}  // namespace
}  // namespace ecc200
