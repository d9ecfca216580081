// The user mark: chunk sums and key layout, positions from given values, and the mark applied to
// a codeword stream of every size.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "marks/keystream.h"
#include "marks/user_mark.h"
#include "marks/user_mark_parts.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;

using Sums = std::array<uint8_t, kDataChunkCount>;

Sums ChunkSums(const std::vector<uint8_t>& data) {
    uint8_t sums[kDataChunkCount];
    SumDataChunks(static_cast<int32_t>(data.size()), data.data(), sums);
    Sums out{};
    std::copy(std::begin(sums), std::end(sums), out.begin());
    return out;
}

TEST(UserMarkChunkSums, ThreeBytesUseOnlyTheSecondAndThird) {
    const Sums sums = ChunkSums(testing::Bytes("ABC"));
    Sums expected{};
    expected[1] = 'B';
    expected[2] = 'C';
    EXPECT_EQ(sums, expected);
}

TEST(UserMarkChunkSums, OneByteGivesNoSums) {
    EXPECT_EQ(ChunkSums({0xFF}), Sums{});
    EXPECT_EQ(ChunkSums({}), Sums{});
}

TEST(UserMarkChunkSums, SumsWrapModulo256) {
    // n = 3116: chunk 95 covers 76 bytes of 255, i.e. -76 modulo 256.
    const Sums sums = ChunkSums(std::vector<uint8_t>(3116, 0xFF));
    EXPECT_EQ(sums[95], 180);
    EXPECT_EQ(sums[96], 0);
}

struct ChunkSpan {
    int32_t chunk;
    int32_t first;
    int32_t last;  // inclusive
};

struct CoverageCase {
    const char* name;
    int32_t n;
    int32_t lastChunk;
    std::vector<ChunkSpan> spans;
};

class UserMarkChunkCoverage : public ::testing::TestWithParam<CoverageCase> {};

// Marks one byte at a time and checks which chunks see it.
TEST_P(UserMarkChunkCoverage, ChunksCoverExactlyTheirIndices) {
    const CoverageCase& c = GetParam();
    std::vector<uint8_t> data(static_cast<size_t>(c.n), 0);
    for (int32_t index = 0; index < c.n; ++index) {
        data[static_cast<size_t>(index)] = 1;
        const Sums sums = ChunkSums(data);
        data[static_cast<size_t>(index)] = 0;
        for (int32_t k = c.lastChunk + 1; k < kDataChunkCount; ++k) {
            ASSERT_EQ(sums[static_cast<size_t>(k)], 0) << "chunk " << k << " index " << index;
        }
        for (const ChunkSpan& span : c.spans) {
            const bool inside = index >= span.first && index <= span.last;
            ASSERT_EQ(sums[static_cast<size_t>(span.chunk)], inside ? 1 : 0)
                << "chunk " << span.chunk << " index " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserMarkChunkCoverage,
    ::testing::Values(
        CoverageCase{
            "n10", 10, 5, {{0, 1, 0}, {1, 1, 1}, {2, 2, 3}, {3, 3, 5}, {4, 4, 7}, {5, 5, 9}}},
        CoverageCase{"n100", 100, 34, {{0, 1, 0}, {1, 2, 2}, {2, 4, 5}, {34, 68, 99}}},
        CoverageCase{"n3116", 3116, 95, {{1, 32, 32}, {94, 3008, 3101}, {95, 3040, 3115}}},
        CoverageCase{"n1", 1, -1, {}}),
    testing::CaseName());

struct PositionCase {
    const char* name;
    int32_t sizeIndex;
    std::array<int32_t, kUserMarkValueCount> values;
    std::vector<std::pair<int32_t, int32_t>> expected;  // (block, position)
};

class UserMarkPositionExamples : public ::testing::TestWithParam<PositionCase> {};

TEST_P(UserMarkPositionExamples, GiveTheWorkedPositions) {
    const PositionCase& c = GetParam();
    const SymbolSize& size = SizeAt(c.sizeIndex);
    int32_t values[kUserMarkValueCount];
    std::copy(c.values.begin(), c.values.end(), values);
    int32_t positions[kUserMarkValueCount] = {};
    ASSERT_EQ(UserMarkPositions(values, size.blockCount,
                                size.blockDataCodewords + size.blockEccCodewords, positions),
              size.blockCount);
    for (const auto& [block, position] : c.expected) {
        EXPECT_EQ(positions[block], position) << "block " << block;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, UserMarkPositionExamples,
    ::testing::Values(PositionCase{"s10x10", 0, {255}, {{0, 7}}},
                      PositionCase{"s52x52", 14, {200, 255}, {{0, 56}, {1, 257}}},
                      PositionCase{"s144x144",
                                   23,
                                   {219, 0, 0, 100, 0, 0, 0, 0, 0, 255},
                                   {{0, 0}, {1, 211}, {3, 313}, {9, 259}}},
                      PositionCase{"s120x120",
                                   21,
                                   {0, 255, 255, 255, 255, 255},
                                   {{0, 0}, {1, 253}, {2, 254}, {3, 255}, {4, 256}, {5, 257}}}),
    testing::CaseName());

TEST(UserMarkPositions, EveryValueLandsInItsOwnBlockInsideTheStream) {
    for (int32_t sizeIndex = 0; sizeIndex < kSizeCount; ++sizeIndex) {
        const SymbolSize& size = SizeAt(sizeIndex);
        const int32_t length = size.blockDataCodewords + size.blockEccCodewords;
        for (int32_t v = 0; v < 256; ++v) {
            int32_t values[kUserMarkValueCount];
            std::fill(std::begin(values), std::end(values), v);
            int32_t positions[kUserMarkValueCount] = {};
            ASSERT_EQ(UserMarkPositions(values, size.blockCount, length, positions),
                      size.blockCount);
            for (int32_t k = 0; k < size.blockCount; ++k) {
                ASSERT_EQ(positions[k] % size.blockCount, k) << SizeName(sizeIndex) << " " << v;
                ASSERT_GE(positions[k], 0);
                ASSERT_LT(positions[k], k == 0 ? length : 2 * length);
                ASSERT_LT(positions[k], TotalCodewords(size));
            }
        }
    }
}

TEST(UserMarkPositions, RefusesBlockLayoutsItCannotServe) {
    int32_t values[kUserMarkValueCount] = {};
    int32_t positions[kUserMarkValueCount] = {};
    EXPECT_EQ(UserMarkPositions(values, 0, 8, positions), 0);
    EXPECT_EQ(UserMarkPositions(values, 11, 300, positions), 0);
    EXPECT_EQ(UserMarkPositions(values, 4, 3, positions), 0);
}

std::unique_ptr<MarkState> StateWithIdentity(const std::string& identity) {
    auto state = std::make_unique<MarkState>();
    std::memcpy(state->identity, identity.data(), identity.size());
    state->identityLength = static_cast<int32_t>(identity.size());
    return state;
}

// The values computed from a key composed here independently: size, chunk sums of "ABC", then
// the identity; the first ten keystream bytes are skipped.
TEST(DeriveUserMarkValues, KeysSizeChunkSumsAndIdentity) {
    const std::string identity = "ID**" + std::string(22, '\x5A');
    auto state = StateWithIdentity(identity);
    const auto data = testing::Bytes("ABC");
    int32_t values[kUserMarkValueCount] = {};
    ASSERT_TRUE(DeriveUserMarkValues(*state, 3, data.data(), values, 144, 18));

    MarkState reference{};
    reference.key[0] = 144;
    reference.key[1] = 18;
    reference.key[3] = 'B';
    reference.key[4] = 'C';
    std::memcpy(reference.key + 102, identity.data(), identity.size());
    reference.keyLength = 102 + static_cast<int32_t>(identity.size());
    EXPECT_EQ(state->keyLength, reference.keyLength);
    EXPECT_EQ(0, std::memcmp(state->key, reference.key, sizeof reference.key));

    ScheduleMarkKey(reference);
    DiscardMarkBytes(reference, 10);
    for (int32_t k = 0; k < kUserMarkValueCount; ++k) {
        EXPECT_EQ(values[k], NextMarkByte(reference)) << "value " << k;
    }
}

TEST(DeriveUserMarkValues, RefusesAnIdentityTooLongForTheKey) {
    const auto data = testing::Bytes("ABC");
    for (const int32_t length : {154, 155, 300}) {
        auto state = StateWithIdentity(std::string(static_cast<size_t>(length), '*'));
        int32_t values[kUserMarkValueCount] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const bool derived = DeriveUserMarkValues(*state, 3, data.data(), values, 10, 10);
        EXPECT_EQ(derived, length <= 154) << length;
        if (!derived) {
            EXPECT_EQ(state->loadReason, kReasonUnavailable);
            EXPECT_EQ(values[0], 1);
            EXPECT_EQ(values[9], 10);
        }
    }
}

// Runs ApplyUserMark on a symbol of the given size whose stream holds a fixed pattern, and
// returns the positions that changed; every change must be a full inversion.
class MarkedStream {
  public:
    MarkedStream(int32_t sizeIndex, std::string_view data) : handle_(MakeSymbol()) {
        Symbol& s = Internals(handle_);
        testing::SetData(handle_, data);
        s.sizeIndex = sizeIndex;
        s.codewordCount = TotalCodewords(SizeAt(sizeIndex));
        for (int32_t i = 0; i < kCodewordCapacity; ++i) {
            s.codewords[i] = static_cast<uint8_t>(i * 37 + 11);
        }
    }

    bool Apply(std::vector<int32_t>& changed) {
        Symbol& s = Internals(handle_);
        uint8_t before[kCodewordCapacity];
        std::memcpy(before, s.codewords, sizeof before);
        const bool applied = ApplyUserMark(s);
        changed.clear();
        for (int32_t i = 0; i < kCodewordCapacity; ++i) {
            if (s.codewords[i] == before[i]) continue;
            changed.push_back(i);
            EXPECT_EQ(s.codewords[i], static_cast<uint8_t>(~before[i])) << "position " << i;
        }
        return applied;
    }

    Symbol& symbol() { return Internals(handle_); }

  private:
    testing::SymbolPtr handle_;
};

std::vector<int32_t> MarkPositions(int32_t sizeIndex, std::string_view data) {
    MarkedStream stream(sizeIndex, data);
    std::vector<int32_t> changed;
    EXPECT_TRUE(stream.Apply(changed));
    return changed;
}

// Names a per-size test case "s10_10", "s8_18", ...
std::string SizeCaseName(const ::testing::TestParamInfo<int32_t>& param) {
    std::string name = SizeName(param.param);
    std::replace(name.begin(), name.end(), 'x', '_');
    return "s" + name;
}

class UserMarkEverySize : public ::testing::TestWithParam<int32_t> {};

TEST_P(UserMarkEverySize, InvertsOneWholeCodewordPerBlock) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const int32_t sizeIndex = GetParam();
    const SymbolSize& size = SizeAt(sizeIndex);
    const std::vector<int32_t> changed = MarkPositions(sizeIndex, "Data Matrix 0123456789");
    ASSERT_EQ(static_cast<int32_t>(changed.size()), size.blockCount);
    std::vector<bool> blockSeen(static_cast<size_t>(size.blockCount), false);
    for (const int32_t position : changed) {
        EXPECT_LT(position, TotalCodewords(size));
        blockSeen[static_cast<size_t>(position % size.blockCount)] = true;
    }
    EXPECT_TRUE(std::all_of(blockSeen.begin(), blockSeen.end(), [](bool b) { return b; }));
    // Same inputs, same mark.
    EXPECT_EQ(MarkPositions(sizeIndex, "Data Matrix 0123456789"), changed);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, UserMarkEverySize, ::testing::Range(0, kSizeCount),
                         SizeCaseName);

constexpr int32_t k144 = 23;  // ten blocks: an unchanged mark by chance is out of the question

TEST(UserMark, DependsOnChunkCoveredBytesButNeverOnTheFirst) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const std::string data = "The quick brown fox jumps over the lazy dog";
    const auto base = MarkPositions(k144, data);
    std::string firstChanged = data;
    firstChanged[0] = 'X';
    EXPECT_EQ(MarkPositions(k144, firstChanged), base);
    std::string coveredChanged = data;
    coveredChanged[1] = 'X';  // chunk 1 is the byte at index n / 100 + 1 = 1
    EXPECT_NE(MarkPositions(k144, coveredChanged), base);
    // With a single byte no data byte is keyed at all.
    EXPECT_EQ(MarkPositions(k144, "A"), MarkPositions(k144, "Z"));
}

TEST(UserMark, DependsOnTheSizeAndEveryIdentityDigit) {
    ScratchDirectory dir;
    const std::string identity(testing::kSampleIdentity);
    dir.WriteIdentity(identity);
    const auto base = MarkPositions(k144, "12345");
    EXPECT_NE(MarkPositions(22, "12345"), base);  // 132x132: other size, other key
    for (const size_t digit : {size_t{6}, size_t{27}, identity.size() - 1}) {
        std::string edited = identity;
        edited[digit] = edited[digit] == '0' ? '1' : '0';
        dir.WriteIdentity(edited);
        EXPECT_NE(MarkPositions(k144, "12345"), base) << "digit " << digit;
    }
    // The separator between the two fields is not read.
    std::string separator = identity;
    separator[6 + 22] = '/';
    dir.WriteIdentity(separator);
    EXPECT_EQ(MarkPositions(k144, "12345"), base);
}

TEST(UserMark, LeftOutWhenTheIdentityIsMissingOrTooLong) {
    ScratchDirectory dir;
    MarkedStream missing(k144, "12345");
    std::vector<int32_t> changed;
    EXPECT_FALSE(missing.Apply(changed));
    EXPECT_TRUE(changed.empty());
    ASSERT_NE(missing.symbol().markState, nullptr);

    const std::string fields = "00112233445566778899AA-0123456789abcdefABCDEF";
    dir.WriteIdentity("*" + std::string(131, 'p') + "*" + fields);  // prefix 133
    MarkedStream tooLong(k144, "12345");
    EXPECT_FALSE(tooLong.Apply(changed));
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(tooLong.symbol().markState->loadReason, kReasonUnavailable);

    dir.WriteIdentity("*" + std::string(130, 'p') + "*" + fields);  // prefix 132: still fits
    MarkedStream longest(k144, "12345");
    EXPECT_TRUE(longest.Apply(changed));
    EXPECT_EQ(changed.size(), 10u);
}

TEST(UserMark, NeedsAResolvedSize) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    MarkedStream stream(0, "12345");
    stream.symbol().sizeIndex = kAutomaticSize;
    std::vector<int32_t> changed;
    EXPECT_FALSE(stream.Apply(changed));
    EXPECT_TRUE(changed.empty());
}

}  // namespace
}  // namespace ecc200
