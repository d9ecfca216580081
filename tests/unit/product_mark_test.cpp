// The product mark: key layout, the walk over the mapping matrix, and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "marks/keystream.h"
#include "marks/product_mark.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using Matrix = uint8_t[kMatrixSide][kMatrixSide];

const std::string kIdentity = "ACME**" + std::string(
                                             "\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xAA"
                                             "\x01\x23\x45\x67\x89\xAB\xCD\xEF\xAB\xCD\xEF",
                                             22);

std::unique_ptr<MarkState> StateWithIdentity(const std::string& identity = kIdentity) {
    auto state = std::make_unique<MarkState>();
    std::memcpy(state->identity, identity.data(), identity.size());
    state->identityLength = static_cast<int32_t>(identity.size());
    return state;
}

struct MatrixBox {
    Matrix cells = {};
    void FillPattern() {
        for (int32_t r = 0; r < kMatrixSide; ++r) {
            for (int32_t c = 0; c < kMatrixSide; ++c) {
                cells[r][c] = static_cast<uint8_t>(((r * 7 + c * 3) / 5) & 1);
            }
        }
    }
    bool operator==(const MatrixBox& other) const {
        return std::memcmp(cells, other.cells, sizeof cells) == 0;
    }
};

// Cells that differ, as positions r * cols + c; any difference outside rows x cols fails.
std::vector<int32_t> Differences(const MatrixBox& a, const MatrixBox& b, int32_t rows,
                                 int32_t cols) {
    std::vector<int32_t> out;
    for (int32_t r = 0; r < kMatrixSide; ++r) {
        for (int32_t c = 0; c < kMatrixSide; ++c) {
            if (a.cells[r][c] == b.cells[r][c]) continue;
            EXPECT_TRUE(r < rows && c < cols) << "cell " << r << "," << c << " outside the area";
            out.push_back(r * cols + c);
        }
    }
    return out;
}

std::vector<int32_t> MarkPattern(const std::string& productId, int32_t rows, int32_t cols,
                                 const std::string& identity = kIdentity) {
    auto state = StateWithIdentity(identity);
    MatrixBox before;
    MatrixBox after;
    EXPECT_TRUE(ApplyProductMark(*state, after.cells, productId.c_str(), rows, cols));
    return Differences(before, after, rows, cols);
}

struct KeyCase {
    const char* name;
    int32_t sizeIndex;
    uint8_t keyRows;
    uint8_t keyCols;
};

class ProductMarkKey : public ::testing::TestWithParam<KeyCase> {};

// The key is composed here independently; the first inverted cell must follow from the first
// keystream byte after keyLength discarded bytes.
TEST_P(ProductMarkKey, StartsWithTheMappingMatrixSize) {
    const KeyCase& c = GetParam();
    const SymbolSize& size = SizeAt(c.sizeIndex);
    const int32_t rows = MappingRows(size);
    const int32_t cols = MappingCols(size);
    auto state = StateWithIdentity();
    MatrixBox before;
    MatrixBox after;
    ASSERT_TRUE(ApplyProductMark(*state, after.cells, "PRODUCT-7", rows, cols));

    MarkState reference{};
    reference.key[0] = c.keyRows;
    reference.key[1] = c.keyCols;
    std::memcpy(reference.key + 2, "PRODUCT-7", 9);
    std::memcpy(reference.key + 102, kIdentity.data(), kIdentity.size());
    reference.keyLength = 102 + static_cast<int32_t>(kIdentity.size());
    EXPECT_EQ(state->keyLength, reference.keyLength);
    EXPECT_EQ(0, std::memcmp(state->key, reference.key, sizeof reference.key));

    ScheduleMarkKey(reference);
    DiscardMarkBytes(reference, reference.keyLength);
    const uint8_t first = NextMarkByte(reference);
    const std::vector<int32_t> changed = Differences(before, after, rows, cols);
    ASSERT_FALSE(changed.empty());
    if (((first >> 3) & 7) != 0) {
        EXPECT_EQ(changed.front(), first & 7);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProductMarkKey,
                         ::testing::Values(KeyCase{"s10x10", 0, 8, 8},
                                           KeyCase{"s144x144", 23, 132, 132},
                                           KeyCase{"s8x18", 24, 6, 16},
                                           KeyCase{"s16x48", 29, 14, 44}),
                         testing::CaseName());

// Names a per-size test case "s10_10", "s8_18", ...
std::string SizeCaseName(const ::testing::TestParamInfo<int32_t>& param) {
    std::string name = SizeName(param.param);
    std::replace(name.begin(), name.end(), 'x', '_');
    return "s" + name;
}

class ProductMarkEverySize : public ::testing::TestWithParam<int32_t> {};

TEST_P(ProductMarkEverySize, StaysInsideTheAreaAndUndoesItself) {
    const SymbolSize& size = SizeAt(GetParam());
    const int32_t rows = MappingRows(size);
    const int32_t cols = MappingCols(size);
    MatrixBox original;
    original.FillPattern();
    MatrixBox marked = original;
    auto state = StateWithIdentity();
    ASSERT_TRUE(ApplyProductMark(*state, marked.cells, "SKU 4711", rows, cols));
    EXPECT_FALSE(Differences(original, marked, rows, cols).empty());
    MatrixBox twice = marked;
    // A fresh state proves that nothing of the first run is needed to undo it.
    auto again = StateWithIdentity();
    ASSERT_TRUE(ApplyProductMark(*again, twice.cells, "SKU 4711", rows, cols));
    EXPECT_TRUE(twice == original);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, ProductMarkEverySize, ::testing::Range(0, kSizeCount),
                         SizeCaseName);

// Steps of 0..7 land on one cell in four, and an even run of zero steps after a landing leaves
// it inverted: 2/9 of the area on average.
TEST(ProductMark, InvertsAboutTwoModulesInNine) {
    const auto changed = MarkPattern("X", 132, 132);
    const double fraction = static_cast<double>(changed.size()) / (132.0 * 132.0);
    EXPECT_GT(fraction, 0.20);
    EXPECT_LT(fraction, 0.245);
    EXPECT_LT(changed.back(), 132 * 132);
}

TEST(ProductMark, ReachesTheLastCellsOfTheArea) {
    // Over many identifiers the walk reaches every one of the last cells of a small area.
    std::vector<bool> reached(64, false);
    for (int n = 0; n < 200; ++n) {
        for (const int32_t p : MarkPattern("P" + std::to_string(n), 8, 8)) {
            reached[static_cast<size_t>(p)] = true;
        }
    }
    for (int32_t p = 56; p < 64; ++p) EXPECT_TRUE(reached[static_cast<size_t>(p)]) << p;
}

TEST(ProductMark, SameInputsSamePatternAndEveryKeyPartMatters) {
    const auto base = MarkPattern("PRODUCT-0001", 132, 132);
    EXPECT_EQ(MarkPattern("PRODUCT-0001", 132, 132), base);
    EXPECT_NE(MarkPattern("PRODUCT-0002", 132, 132), base);
    EXPECT_NE(MarkPattern("PRODUCT-0001 ", 132, 132), base);
    std::string identity = kIdentity;
    identity.back() = static_cast<char>(identity.back() ^ 0x01);
    EXPECT_NE(MarkPattern("PRODUCT-0001", 132, 132, identity), base);
    // Same cell count, different shape: the dimensions are keyed, not just the area.
    EXPECT_NE(MarkPattern("PRODUCT-0001", 66, 132), MarkPattern("PRODUCT-0001", 132, 66));
}

TEST(ProductMark, UsesAHundredCharacterIdentifierWhole) {
    const std::string longest(100, 'Q');
    auto state = StateWithIdentity();
    MatrixBox matrix;
    ASSERT_TRUE(ApplyProductMark(*state, matrix.cells, longest.c_str(), 20, 20));
    EXPECT_EQ(0, std::memcmp(state->key + 2, longest.data(), 100));
    EXPECT_EQ(0, std::memcmp(state->key + 102, kIdentity.data(), kIdentity.size()));
    std::string lastDiffers = longest;
    lastDiffers.back() = 'R';
    EXPECT_NE(MarkPattern(lastDiffers, 20, 20), MarkPattern(longest, 20, 20));
}

struct RefusalCase {
    const char* name;
    std::string productId;
    int32_t identityLength;
    int32_t rows;
    int32_t cols;
};

class ProductMarkRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ProductMarkRefusals, ChangeNothing) {
    const RefusalCase& c = GetParam();
    auto state = StateWithIdentity(std::string(static_cast<size_t>(c.identityLength), 'i'));
    state->key[0] = 0xA5;
    state->keyLength = 77;
    MatrixBox original;
    original.FillPattern();
    MatrixBox matrix = original;
    EXPECT_FALSE(ApplyProductMark(*state, matrix.cells, c.productId.c_str(), c.rows, c.cols));
    EXPECT_TRUE(matrix == original);
    EXPECT_EQ(state->key[0], 0xA5);
    EXPECT_EQ(state->keyLength, 77);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProductMarkRefusals,
    ::testing::Values(RefusalCase{"identifier101", std::string(101, 'Q'), 28, 8, 8},
                      RefusalCase{"identifier999", std::string(999, 'Q'), 28, 8, 8},
                      RefusalCase{"identity155", "P", 155, 8, 8},
                      RefusalCase{"rowsBeyondMatrix", "P", 28, 145, 8},
                      RefusalCase{"colsBeyondMatrix", "P", 28, 8, 145}),
    testing::CaseName());

TEST(ProductMark, AcceptsTheLongestIdentity) {
    EXPECT_FALSE(MarkPattern("P", 16, 16, std::string(154, 'i')).empty());
}

TEST(ProductMark, EmptyAreaRunsButChangesNothing) {
    for (const auto& [rows, cols] : {std::pair{0, 8}, std::pair{8, 0}, std::pair{-2, -3}}) {
        auto state = StateWithIdentity();
        MatrixBox original;
        original.FillPattern();
        MatrixBox matrix = original;
        EXPECT_TRUE(ApplyProductMark(*state, matrix.cells, "P", rows, cols));
        EXPECT_TRUE(matrix == original) << rows << "x" << cols;
    }
    auto state = StateWithIdentity();
    MatrixBox matrix;
    EXPECT_FALSE(ApplyProductMark(*state, matrix.cells, nullptr, 8, 8));
}

}  // namespace
}  // namespace ecc200
