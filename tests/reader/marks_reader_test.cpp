// The two marks end to end: symbols with the user mark still read back with an independent
// reader; symbols with the product mark read back once the walk has been undone with the same
// key; and a mark that cannot be applied at encode time is left out without failing the encode.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "marks/mark_state.h"
#include "marks/product_mark.h"
#include "marks/user_identity.h"
#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;
using testing::SymbolPtr;

constexpr const char kProduct[] = "PRODUCT-0042/B";
constexpr const char kIdentityFields[] = "00112233445566778899AA-0123456789abcdefABCDEF";

std::string IdentityWithPrefix(size_t prefixLength) {
    std::string token(prefixLength, 'p');
    token.front() = '*';
    token.back() = '*';
    return token + kIdentityFields;
}

// Data that fits the size comfortably whatever scheme the automatic selection picks.
std::string PayloadFor(int32_t sizeIndex) {
    const int32_t capacity = SizeAt(sizeIndex).totalDataCodewords;
    std::string payload;
    for (int32_t i = 0; i < capacity; ++i) payload.push_back(static_cast<char>('0' + (i * 7) % 10));
    if (capacity >= 20) payload.replace(0, 17, "ECC200 mark test ");
    return payload;
}

// One encode's result: the status, the finished symbol as the buffer export gives it, and a copy
// of the internal codeword stream and module matrix behind it.
struct Encoded {
    int32_t status = -1;
    std::vector<uint8_t> modules;
    testing::SymbolExtent extent;
    std::vector<uint8_t> codewords;
    std::vector<uint8_t> matrix;  // bottom row first, row stride kMatrixSide
};

Encoded Encode(const SymbolPtr& handle) {
    Encoded e;
    e.modules = testing::EncodeToModules(handle.get(), e.status);
    e.extent = testing::ExtentOf(handle.get());
    const Symbol& s = Internals(handle);
    e.codewords.assign(s.codewords, s.codewords + std::max(s.codewordCount, 0));
    e.matrix.assign(&s.matrix[0][0], &s.matrix[0][0] + sizeof s.matrix);
    return e;
}

std::optional<std::vector<uint8_t>> Decode(const Encoded& e) {
    return testing::DecodePicture(testing::RenderModules(e.modules, e.extent));
}

SymbolPtr Configured(int32_t sizeIndex, const std::string& payload, bool userMark,
                     const char* productId) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(SetDimension_ECC200(handle.get(), sizeIndex), 0);
    EXPECT_EQ(testing::SetData(handle, payload), 0);
    if (userMark) {
        EXPECT_EQ(SetSignUser_ECC200(handle.get(), 1), 0);
    }
    if (productId != nullptr) {
        EXPECT_EQ(SetSignProduct_ECC200(handle.get(), 1, productId), 0);
    }
    return handle;
}

bool SameSymbol(const Encoded& a, const Encoded& b) {
    return a.extent.rows == b.extent.rows && a.extent.cols == b.extent.cols &&
           a.modules == b.modules;
}

// Undoes the product mark of a finished symbol: gathers the mapping matrix from the data
// regions, walks it once more with the key of the current identity file, and spreads it back.
std::vector<uint8_t> UndoProductMark(const Encoded& marked, int32_t sizeIndex,
                                     const char* productId) {
    const SymbolSize& size = SizeAt(sizeIndex);
    const int32_t rows = MappingRows(size);
    const int32_t cols = MappingCols(size);
    auto cellOf = [&](int32_t i, int32_t j) {
        const int32_t r = i + 1 + 2 * (i / size.regionRows);
        const int32_t c = j + 1 + 2 * (j / size.regionCols);
        return static_cast<size_t>(r * kMatrixSide + c);
    };
    struct Area {
        uint8_t cells[kMatrixSide][kMatrixSide];
    };
    auto area = std::make_unique<Area>();
    auto& mapping = area->cells;
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t j = 0; j < cols; ++j) mapping[i][j] = marked.matrix[cellOf(i, j)];
    }
    auto state = std::make_unique<MarkState>();
    EXPECT_TRUE(LoadUserIdentity(*state));
    EXPECT_TRUE(ApplyProductMark(*state, mapping, productId, rows, cols));
    std::vector<uint8_t> restored = marked.matrix;
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t j = 0; j < cols; ++j) restored[cellOf(i, j)] = mapping[i][j];
    }
    return restored;
}

// Whether cell (r, c) of the finished symbol, counted from the bottom left, is a data module
// rather than part of a finder or timing pattern.
bool IsDataModule(const SymbolSize& size, int32_t r, int32_t c) {
    const int32_t inRow = r % (size.regionRows + 2);
    const int32_t inCol = c % (size.regionCols + 2);
    return inRow != 0 && inRow != size.regionRows + 1 && inCol != 0 && inCol != size.regionCols + 1;
}

std::string SizeCaseName(const ::testing::TestParamInfo<int32_t>& param) {
    std::string name = SizeName(param.param);
    std::replace(name.begin(), name.end(), 'x', '_');
    return "s" + name;
}

class MarksEverySize : public ::testing::TestWithParam<int32_t> {
  protected:
    void SetUp() override { dir_.WriteIdentity(testing::kSampleIdentity); }
    ScratchDirectory dir_;
};

TEST_P(MarksEverySize, UserMarkedSymbolReadsBackWithOneWholeCodewordPerBlockInverted) {
    const int32_t sizeIndex = GetParam();
    const SymbolSize& size = SizeAt(sizeIndex);
    const std::string payload = PayloadFor(sizeIndex);
    const Encoded plain = Encode(Configured(sizeIndex, payload, false, nullptr));
    ASSERT_EQ(plain.status, 0);
    const Encoded marked = Encode(Configured(sizeIndex, payload, true, nullptr));
    ASSERT_EQ(marked.status, 0);

    ASSERT_EQ(marked.codewords.size(), plain.codewords.size());
    std::vector<int32_t> blocksHit;
    for (size_t i = 0; i < plain.codewords.size(); ++i) {
        if (marked.codewords[i] == plain.codewords[i]) continue;
        EXPECT_EQ(marked.codewords[i], static_cast<uint8_t>(~plain.codewords[i])) << i;
        blocksHit.push_back(static_cast<int32_t>(i) % size.blockCount);
    }
    std::sort(blocksHit.begin(), blocksHit.end());
    std::vector<int32_t> everyBlock(static_cast<size_t>(size.blockCount));
    for (int32_t b = 0; b < size.blockCount; ++b) everyBlock[static_cast<size_t>(b)] = b;
    EXPECT_EQ(blocksHit, everyBlock);

    const auto decoded = Decode(marked);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, testing::Bytes(payload));
}

TEST_P(MarksEverySize, ProductMarkIsUndoneByTheSameWalkAndTouchesOnlyDataModules) {
    const int32_t sizeIndex = GetParam();
    const SymbolSize& size = SizeAt(sizeIndex);
    const std::string payload = PayloadFor(sizeIndex);
    const Encoded plain = Encode(Configured(sizeIndex, payload, false, nullptr));
    ASSERT_EQ(plain.status, 0);
    const Encoded marked = Encode(Configured(sizeIndex, payload, false, kProduct));
    ASSERT_EQ(marked.status, 0);
    ASSERT_FALSE(SameSymbol(marked, plain));

    int32_t changed = 0;
    for (int32_t r = 0; r < size.symbolRows; ++r) {
        for (int32_t c = 0; c < size.symbolCols; ++c) {
            const size_t cell = static_cast<size_t>(r * kMatrixSide + c);
            if (marked.matrix[cell] == plain.matrix[cell]) continue;
            ++changed;
            EXPECT_TRUE(IsDataModule(size, r, c)) << "row " << r << " col " << c;
        }
    }
    EXPECT_GT(changed, 0);
    const auto markedRead = Decode(marked);
    EXPECT_FALSE(markedRead.has_value() && *markedRead == testing::Bytes(payload));

    const std::vector<uint8_t> restored = UndoProductMark(marked, sizeIndex, kProduct);
    for (int32_t r = 0; r < size.symbolRows; ++r) {
        for (int32_t c = 0; c < size.symbolCols; ++c) {
            const size_t cell = static_cast<size_t>(r * kMatrixSide + c);
            ASSERT_EQ(restored[cell], plain.matrix[cell]) << "row " << r << " col " << c;
        }
    }
    const auto decoded = Decode(plain);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, testing::Bytes(payload));
}

INSTANTIATE_TEST_SUITE_P(AllSizes, MarksEverySize, ::testing::Range(0, kSizeCount), SizeCaseName);

class MarksAtEncodeTime : public ::testing::Test {
  protected:
    void SetUp() override { dir_.WriteIdentity(testing::kSampleIdentity); }
    static constexpr int32_t kSize = 12;  // 44x44
    const std::string payload_ = "Marked at every encode: 0123456789";
    ScratchDirectory dir_;
};

TEST_F(MarksAtEncodeTime, BothMarksTogetherUndoToTheUserMarkedSymbol) {
    const Encoded userOnly = Encode(Configured(kSize, payload_, true, nullptr));
    auto both = Configured(kSize, payload_, true, kProduct);
    const Encoded first = Encode(both);
    const Encoded second = Encode(both);
    ASSERT_EQ(first.status, 0);
    EXPECT_TRUE(SameSymbol(first, second));
    EXPECT_EQ(first.matrix, second.matrix);

    const std::vector<uint8_t> restored = UndoProductMark(first, kSize, kProduct);
    EXPECT_EQ(restored, userOnly.matrix);
    const auto decoded = Decode(userOnly);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, testing::Bytes(payload_));
}

TEST_F(MarksAtEncodeTime, HundredCharacterIdentifierIsKeyedWhole) {
    std::string identifier(100, 'Q');
    const Encoded marked = Encode(Configured(kSize, payload_, false, identifier.c_str()));
    ASSERT_EQ(marked.status, 0);
    std::string lastDiffers = identifier;
    lastDiffers.back() = 'R';
    const Encoded other = Encode(Configured(kSize, payload_, false, lastDiffers.c_str()));
    EXPECT_FALSE(SameSymbol(marked, other));
    const Encoded plain = Encode(Configured(kSize, payload_, false, nullptr));
    EXPECT_EQ(UndoProductMark(marked, kSize, identifier.c_str()), plain.matrix);
}

TEST_F(MarksAtEncodeTime, IdentityTooLongAfterTheSwitchLeavesBothMarksOut) {
    const Encoded plain = Encode(Configured(kSize, payload_, false, nullptr));
    auto handle = Configured(kSize, payload_, true, kProduct);
    dir_.WriteIdentity(IdentityWithPrefix(133));
    const Encoded encoded = Encode(handle);
    EXPECT_EQ(encoded.status, 0);
    EXPECT_EQ(Internals(handle).status, 0);
    EXPECT_TRUE(SameSymbol(encoded, plain));
    EXPECT_EQ(encoded.codewords, plain.codewords);

    dir_.WriteIdentity(IdentityWithPrefix(132));  // the longest prefix that still fits a key
    const Encoded longest = Encode(handle);
    EXPECT_EQ(longest.status, 0);
    EXPECT_NE(longest.codewords, plain.codewords);
    EXPECT_FALSE(SameSymbol(longest, plain));
}

TEST_F(MarksAtEncodeTime, IdentityRemovedAfterTheSwitchGivesTheUnmarkedSymbol) {
    const Encoded plain = Encode(Configured(kSize, payload_, false, nullptr));
    for (const bool user : {true, false}) {
        auto handle = Configured(kSize, payload_, user, user ? nullptr : kProduct);
        dir_.RemoveIdentity();
        const Encoded encoded = Encode(handle);
        EXPECT_EQ(encoded.status, 0);
        EXPECT_TRUE(SameSymbol(encoded, plain)) << (user ? "user mark" : "product mark");
        dir_.WriteIdentity(testing::kSampleIdentity);
    }
}

TEST_F(MarksAtEncodeTime, IdentityEditedAfterTheSwitchTakesEffectAtTheNextEncode) {
    for (const bool user : {true, false}) {
        auto handle = Configured(kSize, payload_, user, user ? nullptr : kProduct);
        const Encoded before = Encode(handle);
        std::string edited(testing::kSampleIdentity);
        edited[10] = edited[10] == '4' ? '5' : '4';  // one hexadecimal digit of the first field
        dir_.WriteIdentity(edited);
        const Encoded after = Encode(handle);
        EXPECT_EQ(after.status, 0);
        EXPECT_FALSE(SameSymbol(before, after)) << (user ? "user mark" : "product mark");
        if (user) {
            const auto decoded = Decode(after);
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(*decoded, testing::Bytes(payload_));
        } else {
            const Encoded plain = Encode(Configured(kSize, payload_, false, nullptr));
            EXPECT_EQ(UndoProductMark(after, kSize, kProduct), plain.matrix);
        }
        dir_.WriteIdentity(testing::kSampleIdentity);
    }
}

// The user mark keys the data from its second byte on: a change there moves the mark, a change
// of the first byte never does. The reader still gets each symbol's own data.
TEST_F(MarksAtEncodeTime, UserMarkFollowsTheDataButNotItsFirstByte) {
    constexpr int32_t k144 = 23;
    auto marks = [&](const std::string& data) {
        const Encoded plain = Encode(Configured(k144, data, false, nullptr));
        const Encoded marked = Encode(Configured(k144, data, true, nullptr));
        std::vector<size_t> positions;
        for (size_t i = 0; i < plain.codewords.size(); ++i) {
            if (plain.codewords[i] != marked.codewords[i]) positions.push_back(i);
        }
        const auto decoded = Decode(marked);
        EXPECT_TRUE(decoded.has_value() && *decoded == testing::Bytes(data)) << data;
        return positions;
    };
    const auto base = marks("Lot 2026-12 / serial 000123");
    EXPECT_EQ(base.size(), 10u);
    EXPECT_EQ(marks("Mot 2026-12 / serial 000123"), base);
    EXPECT_NE(marks("LOt 2026-12 / serial 000123"), base);
}

// Inputs that once broke other encoders, with the user mark on at the automatic size.
class UserMarkFieldCases : public ::testing::TestWithParam<const char*> {};

TEST_P(UserMarkFieldCases, ReadBack) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const std::string payload = GetParam();
    const Encoded marked = Encode(Configured(kAutomaticSize, payload, true, nullptr));
    ASSERT_EQ(marked.status, 0);
    const auto decoded = Decode(marked);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, testing::Bytes(payload));
}

INSTANTIATE_TEST_SUITE_P(Inputs, UserMarkFieldCases,
                         ::testing::Values("*DTCP01", "*CH/GN1/022/00", "<ABCDEFG><ABCDEFGK>",
                                           "SD0000-REF-C0-I0", "-=-1-=-2-=-3xyz",
                                           "XXXXXXXXX|Xxxxxxx|123 W XXXXXXXX AVE"));

}  // namespace
}  // namespace ecc200
