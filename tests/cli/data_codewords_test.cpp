// The data codewords counted from a symbol's modules, at every size: digit pairs are one ASCII
// codeword each, so the count is known exactly, one short of the capacity (one pad) or full.
#include "data_codewords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"

namespace {

std::optional<int> CountOf(const std::string& digits, int32_t sizeIndex) {
    SymbolHandle symbol = CreateSymbol_ECC200();
    SetDimension_ECC200(symbol, sizeIndex);
    SetDataToEncoding_ECC200(symbol, reinterpret_cast<const uint8_t*>(digits.data()),
                             static_cast<int32_t>(digits.size()));
    std::vector<uint8_t> modules(ECC200_MAX_MODULES);
    const int32_t status =
        WriteEncodedSymbolToBuf_ECC200(symbol, modules.data(), ECC200_MAX_MODULES);
    DeleteSymbol_ECC200(symbol);
    if (status != ECC200_OK) return std::nullopt;
    const ecc200::SymbolSize& size = ecc200::SizeAt(sizeIndex);
    return ecc200_cli::CountDataCodewords(size.symbolRows, size.symbolCols, modules);
}

TEST(DataCodewords, CountedAtEverySize) {
    for (int32_t index = 0; index < static_cast<int32_t>(ecc200::SymbolSizeTable.size()); ++index) {
        const int capacity = ecc200::SizeAt(index).totalDataCodewords;
        for (const int used : {1, capacity - 1, capacity}) {
            EXPECT_EQ(CountOf(std::string(2 * static_cast<std::size_t>(used), '7'), index), used)
                << ecc200::SizeName(index) << " with " << used;
        }
    }
}

TEST(DataCodewords, NothingForAShapeThatIsNoSize) {
    const std::vector<uint8_t> modules(144 * 144, 1);
    EXPECT_EQ(ecc200_cli::CountDataCodewords(11, 11, modules), std::nullopt);
    EXPECT_EQ(ecc200_cli::CountDataCodewords(10, 10, {modules.data(), 99}), std::nullopt);
}

}  // namespace
