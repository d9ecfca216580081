// The two mark switches: identity checks, identifier checks, and what each result leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "marks/mark_state.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;

// An identity whose prefix has the given length (both "*" included).
std::string LongPrefixIdentity(size_t prefixLength) {
    std::string token(prefixLength, 'p');
    token.front() = '*';
    token.back() = '*';
    token.append("00112233445566778899AA-0123456789abcdefABCDEF");
    return token;
}

enum class IdentityFile { kMissing, kGood, kTooLongForKey, kLongestUsable };

void Prepare(const ScratchDirectory& dir, IdentityFile file) {
    switch (file) {
        case IdentityFile::kMissing:
            break;
        case IdentityFile::kGood:
            dir.WriteIdentity(testing::kSampleIdentity);
            break;
        case IdentityFile::kTooLongForKey:
            dir.WriteIdentity(LongPrefixIdentity(133));
            break;
        case IdentityFile::kLongestUsable:
            dir.WriteIdentity(LongPrefixIdentity(132));
            break;
    }
}

struct UserCase {
    const char* name;
    IdentityFile file;
    uint8_t enable;
    int32_t expected;
};

class SetSignUserTest : public ::testing::TestWithParam<UserCase> {};

TEST_P(SetSignUserTest, SwitchesOnOnlyWithAUsableIdentity) {
    const UserCase& c = GetParam();
    ScratchDirectory dir;
    Prepare(dir, c.file);
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    s.userMarkOn = 1;
    s.encoded = 1;
    EXPECT_EQ(SetSignUser_ECC200(handle.get(), c.enable), c.expected);
    EXPECT_EQ(s.userMarkOn, c.expected == 0 && c.enable != 0 ? 1 : 0);
    EXPECT_EQ(s.status, c.expected);
    EXPECT_EQ(s.encoded, 1);
    EXPECT_EQ(s.message[0], '\0');
    EXPECT_EQ(s.markState != nullptr, c.enable != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Identity, SetSignUserTest,
    ::testing::Values(UserCase{"off", IdentityFile::kMissing, 0, 0},
                      UserCase{"missing", IdentityFile::kMissing, 1, 10},
                      UserCase{"good", IdentityFile::kGood, 1, 0},
                      UserCase{"anyNonZeroEnables", IdentityFile::kGood, 200, 0},
                      UserCase{"longestUsable", IdentityFile::kLongestUsable, 1, 0},
                      UserCase{"tooLongForKey", IdentityFile::kTooLongForKey, 1, 10}),
    testing::CaseName());

struct ProductCase {
    const char* name;
    IdentityFile file;
    uint8_t enable;
    const char* productId;    // null stands for a null pointer
    int32_t productIdLength;  // used when productId is "#": that many 'x'
    int32_t expected;
    const char* message;
};

class SetSignProductTest : public ::testing::TestWithParam<ProductCase> {};

TEST_P(SetSignProductTest, ChecksIdentityFirstThenTheIdentifier) {
    const ProductCase& c = GetParam();
    ScratchDirectory dir;
    Prepare(dir, c.file);
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetSignProduct_ECC200(handle.get(), 0, nullptr), 0);
    std::strcpy(s.productId, "OLD");
    s.productIdLength = 3;
    s.productMarkOn = 1;
    std::strcpy(s.message, "kept");

    std::string generated(static_cast<size_t>(c.productIdLength), 'x');
    const char* id = c.productId == nullptr            ? nullptr
                     : std::string(c.productId) == "#" ? generated.c_str()
                                                       : c.productId;
    EXPECT_EQ(SetSignProduct_ECC200(handle.get(), c.enable, id), c.expected);

    const bool on = c.expected == 0 && c.enable != 0;
    EXPECT_EQ(s.productMarkOn, on ? 1 : 0);
    EXPECT_STREQ(s.productId, on ? id : "");
    EXPECT_EQ(s.productIdLength, on ? static_cast<int32_t>(std::strlen(id)) : 0);
    EXPECT_EQ(s.status, c.expected);
    EXPECT_STREQ(s.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Identifier, SetSignProductTest,
    ::testing::Values(
        ProductCase{"offClears", IdentityFile::kGood, 0, "ID", 0, 0, "kept"},
        ProductCase{"good", IdentityFile::kGood, 1, "PRODUCT-42", 0, 0, "kept"},
        ProductCase{"missingIdentityWins", IdentityFile::kMissing, 1, nullptr, 0, 10, "kept"},
        ProductCase{"identityTooLongForKey", IdentityFile::kTooLongForKey, 1, "ID", 0, 10, "kept"},
        ProductCase{"null", IdentityFile::kGood, 1, nullptr, 0, 8, "kept"},
        ProductCase{"empty", IdentityFile::kGood, 1, "", 0, 8, "kept"},
        ProductCase{"hundred", IdentityFile::kGood, 1, "#", 100, 0, "kept"},
        ProductCase{"hundredAndOne", IdentityFile::kGood, 1, "#", 101, 8,
                    "Too long ProductID string (>100 symbols)"},
        ProductCase{"thousand", IdentityFile::kGood, 1, "#", 1000, 8,
                    "Too long ProductID string (>100 symbols)"}),
    testing::CaseName());

TEST(MarkSwitches, ShareOneMarkStateThatLivesUntilDelete) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetSignUser_ECC200(handle.get(), 1), 0);
    MarkState* state = s.markState;
    ASSERT_EQ(SetSignProduct_ECC200(handle.get(), 1, "P"), 0);
    EXPECT_EQ(s.markState, state);
    dir.RemoveIdentity();
    EXPECT_EQ(SetSignUser_ECC200(handle.get(), 1), 10);
    EXPECT_EQ(s.markState, state);
    EXPECT_EQ(s.productMarkOn, 1);  // a failed user switch leaves the product mark alone
}

}  // namespace
}  // namespace ecc200
