// The two marks end to end: user-marked symbols read back with an independent reader, product-
// marked ones once the walk has been undone with the same key, and an encode with a mark on
// fails, handing nothing over, when the identity cannot be used at that moment.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::BytesOf;
using testing::EncodeAndRead;
using testing::SymbolPtr;

constexpr const char kProduct[] = "PRODUCT-0042/B";

SymbolPtr Configured(int32_t sizeIndex, const std::string& data, bool user, bool product) {
    SymbolPtr handle = testing::MakeSymbol();
    EXPECT_EQ(SetDimension_ECC200(handle.get(), sizeIndex) + testing::SetData(handle.get(), data) +
                  SetSignUser_ECC200(handle.get(), user) +
                  SetSignProduct_ECC200(handle.get(), product, kProduct),
              0);
    return handle;
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
        const auto product = EncodeAndRead(Configured(sizeIndex, payload, false, true).get());
        EXPECT_NE(BytesOf(product.read), BytesOf(plain.read));
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
