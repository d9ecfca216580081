// The data codewords counted from a symbol's modules, at every size: digit pairs are one ASCII
// codeword each, so the count is known exactly, one short of the capacity (one pad) or full.
#include "data_codewords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/test_support.h"

namespace {

std::optional<int> CountOf(const std::string& digits, int32_t sizeIndex) {
    int32_t status = 0;
    const auto modules = ecc200::testing::EncodeToModules(
        ecc200::testing::SymbolWith(ECC200_SCHEME_AUTO, sizeIndex, digits).get(), status);
    const ecc200::SymbolSize& size = ecc200::SizeAt(sizeIndex);
    if (status != ECC200_OK) return std::nullopt;
    return ecc200_cli::CountDataCodewords(size.symbolRows, size.symbolCols, modules);
}

TEST(DataCodewords, CountedAtEverySize) {
    for (int32_t index = 0; index < static_cast<int32_t>(ecc200::SymbolSizeTable.size()); ++index) {
        const int capacity = ecc200::SizeAt(index).totalDataCodewords;
        for (const int used : {1, capacity - 1, capacity})
            EXPECT_EQ(CountOf(std::string(2 * static_cast<std::size_t>(used), '7'), index), used)
                << ecc200::SizeName(index) << " with " << used;
    }
    // Nothing for a shape that is no size, or too few modules for the shape.
    const std::vector<uint8_t> modules(144 * 144, 1);
    EXPECT_EQ(ecc200_cli::CountDataCodewords(11, 11, modules), std::nullopt);
    EXPECT_EQ(ecc200_cli::CountDataCodewords(10, 10, {modules.data(), 99}), std::nullopt);
}

}  // namespace
