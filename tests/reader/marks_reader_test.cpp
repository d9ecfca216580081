// The two marks end to end: user-marked symbols read back with an independent reader, product-
// marked ones once the walk has been undone with the same key, and an encode with a mark on
// fails, handing nothing over, when the identity cannot be used at that moment.
#include <gtest/gtest.h>

#include <filesystem>
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

using testing::SymbolPtr;

constexpr const char kProduct[] = "PRODUCT-0042/B";

SymbolPtr Configured(int32_t sizeIndex, const std::string& data, bool user, bool product) {
    SymbolPtr handle = testing::MakeSymbol();
    EXPECT_EQ(SetOption_ECC200(handle.get(), ECC200_OPTION_SIZE, sizeIndex) +
                  testing::SetData(handle.get(), data) + SetSignUser_ECC200(handle.get(), user) +
                  SetSignProduct_ECC200(handle.get(), product, kProduct),
              0);
    return handle;
}

// The product mark walked again over the mapping matrix of a finished symbol (rows x cols modules,
// top row first) with the same key, which undoes it: what a holder of the key does before reading.
std::vector<uint8_t> UndoProductMark(std::vector<uint8_t> modules, int32_t sizeIndex) {
    const SymbolSize& size = SizeAt(sizeIndex);
    const int32_t mappingRows = MappingRows(size), mappingCols = MappingCols(size);
    // Mapping cell (i, j), row i from the bottom, sits at symbol row i + 1 + 2 (i / regionRows)
    // from the bottom and column j + 1 + 2 (j / regionCols).
    const auto at = [&](int32_t i, int32_t j) -> uint8_t& {
        const int32_t row = size.symbolRows - 1 - (i + 1 + 2 * (i / size.regionRows));
        const int32_t col = j + 1 + 2 * (j / size.regionCols);
        return modules[static_cast<std::size_t>(row * size.symbolCols + col)];
    };
    static uint8_t matrix[kMatrixSide][kMatrixSide];
    for (int32_t i = 0; i < mappingRows; ++i)
        for (int32_t j = 0; j < mappingCols; ++j) matrix[i][j] = at(i, j);
    MarkState* state = nullptr;
    EXPECT_EQ(LoadMarkIdentity(state), kStatusOk);
    EXPECT_TRUE(ApplyProductMark(*state, matrix, kProduct, mappingRows, mappingCols));
    FreeMarkState(state);
    for (int32_t i = 0; i < mappingRows; ++i)
        for (int32_t j = 0; j < mappingCols; ++j) at(i, j) = matrix[i][j];
    return modules;
}

TEST(MarksReadBack, EverySize) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    for (int32_t sizeIndex = 0; sizeIndex < kSizeCount; ++sizeIndex) {
        SCOPED_TRACE(SizeName(sizeIndex));
        std::string payload = "ECC200 mark test ";  // then digits to fill the size
        payload.resize(static_cast<size_t>(SizeAt(sizeIndex).totalDataCodewords), '7');
        const auto plain = EncodeAndRead(Configured(sizeIndex, payload, false, false).get());
        const auto user = EncodeAndRead(Configured(sizeIndex, payload, true, false).get());

        ASSERT_EQ(plain.status + user.status, 0);
        EXPECT_EQ(BytesOf(plain.read), testing::Bytes(payload));

        // The user mark changes the symbol, and the reader repairs it.
        EXPECT_NE(user.modules, plain.modules);
        EXPECT_EQ(BytesOf(user.read), testing::Bytes(payload));
        const SymbolPtr productSymbol = Configured(sizeIndex, payload, false, true);
        const auto product = EncodeAndRead(productSymbol.get());
        EXPECT_NE(BytesOf(product.read), BytesOf(plain.read));
        // Undone with the same key, the product-marked symbol is the plain one again.
        const std::vector<uint8_t> undone = UndoProductMark(product.modules, sizeIndex);
        EXPECT_EQ(undone, plain.modules);
        EXPECT_EQ(BytesOf(testing::ReadModules(undone, productSymbol.get())),
                  testing::Bytes(payload));
    }
}

// The identity is loaded again at every encode: edited after the switch, it changes the next
// encode; too long for a key or removed, it fails the encode with 10, which hands nothing over.
TEST(MarksReadBack, IdentityChangedAfterTheSwitch) {
    testing::ScratchDirectory dir;
    const std::string identity(testing::kSampleIdentity), payload = "Marked at every encode: 0123";
    constexpr int32_t k44 = 12;
    const auto plain = EncodeAndRead(Configured(k44, payload, false, false).get());
    for (const auto& [user, product] : {std::pair{true, false}, {false, true}, {true, true}}) {
        SCOPED_TRACE(std::to_string(user) + std::to_string(product));
        dir.WriteIdentity(identity);
        const SymbolPtr handle = Configured(k44, payload, user, product);
        const auto first = EncodeAndRead(handle.get());
        EXPECT_NE(first.modules, plain.modules);
        dir.WriteIdentity(std::string(identity).replace(10, 1, "5"));  // a digit of field A
        const auto edited = EncodeAndRead(handle.get());
        EXPECT_NE(edited.modules, first.modules);
        EXPECT_TRUE(product || BytesOf(edited.read) == testing::Bytes(payload));
        for (const bool removed : {false, true}) {
            // A prefix of 133 characters makes an identity too long for either key.
            removed ? dir.RemoveIdentity()
                    : dir.WriteIdentity("*" + std::string(131, 'p') + "*" + identity.substr(6));
            const auto refused = EncodeAndRead(handle.get());
            EXPECT_EQ(std::tuple(refused.status, GetDimension_ECC200(handle.get())),
                      std::tuple(10, k44));
            EXPECT_EQ(refused.modules, std::vector<uint8_t>(refused.modules.size(), 0xEE));
            EXPECT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), 2, 0, "refused.bmp"), 10);
            EXPECT_FALSE(std::filesystem::exists("refused.bmp")) << removed;
        }
    }
}

}  // namespace
}  // namespace ecc200
