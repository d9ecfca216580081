// Loading user.id: what loads, what fails, and exactly which bytes a load produces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marks/user_identity.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::ScratchDirectory;

constexpr const char kFieldA[] = "00112233445566778899AA";
constexpr const char kFieldB[] = "0123456789abcdefABCDEF";
const std::vector<uint8_t> kBytesA = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55,
                                      0x66, 0x77, 0x88, 0x99, 0xAA};
const std::vector<uint8_t> kBytesB = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB,
                                      0xCD, 0xEF, 0xAB, 0xCD, 0xEF};

std::vector<uint8_t> Concat(const std::string& prefix, const std::vector<uint8_t>& a,
                            const std::vector<uint8_t>& b) {
    std::vector<uint8_t> out(prefix.begin(), prefix.end());
    out.insert(out.end(), a.begin(), a.end());
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

std::vector<uint8_t> Identity(const MarkState& state) {
    return {state.identity, state.identity + state.identityLength};
}

struct LoadCase {
    const char* name;
    std::string file;  // "\x01" stands for: no file at all
    bool loads;
    uint32_t reason;  // loadReason after a failure or a bad digit
    std::vector<uint8_t> identity;
};

const std::string kWellFormed = std::string("ACME**") + kFieldA + "-" + kFieldB;

std::vector<LoadCase> LoadCases() {
    std::vector<LoadCase> cases = {
        {"missing", "\x01", false, kReasonUnavailable, {}},
        {"empty", "", false, kReasonUnavailable, {}},
        {"whiteSpaceOnly", " \n\t \r\n", false, kReasonUnavailable, {}},
        {"noStar", "ACME00112233", false, kReasonMalformed, {}},
        {"oneStar", std::string("ACME*") + kFieldA + "-" + kFieldB, false, kReasonMalformed, {}},
        {"wellFormed", kWellFormed, true, kReasonNone, Concat("ACME**", kBytesA, kBytesB)},
        {"leadingWhiteSpaceAndMoreTokens", "\n  " + kWellFormed + " trailing tokens\nmore", true,
         kReasonNone, Concat("ACME**", kBytesA, kBytesB)},
        {"lowerCaseDigits", std::string("a*b*") + "00112233445566778899aa" + "x" + kFieldB, true,
         kReasonNone, Concat("a*b*", kBytesA, kBytesB)},
        {"shortestPrefix", std::string("**") + kFieldA + "-" + kFieldB, true, kReasonNone,
         Concat("**", kBytesA, kBytesB)},
    };
    // A third "*" inside field A is a bad high digit: 0xF0 | low digit.
    std::string starInField = std::string("ID**") + kFieldA + "-" + kFieldB;
    starInField[4] = '*';
    auto withStar = kBytesA;
    withStar[0] = 0xF0;
    cases.push_back({"thirdStarIsABadHighDigit", starInField, true, kReasonMalformed,
                     Concat("ID**", withStar, kBytesB)});
    // A bad low digit makes the whole byte 255.
    std::string badLow = std::string("ID**") + kFieldA + "-" + kFieldB;
    badLow[4 + 23 + 1] = 'g';
    auto withBadLow = kBytesB;
    withBadLow[0] = 0xFF;
    cases.push_back({"badLowDigitGives255", badLow, true, kReasonMalformed,
                     Concat("ID**", kBytesA, withBadLow)});
    // A token that stops early: the missing digits count as bad ones.
    std::vector<uint8_t> truncatedB(11, 0xFF);
    truncatedB[0] = 0x01;  // "01"; byte 1 has its high digit "2" but no low digit: 255
    cases.push_back({"tokenEndsInsideFieldB", std::string("ID**") + kFieldA + "-012", true,
                     kReasonMalformed, Concat("ID**", kBytesA, truncatedB)});
    cases.push_back(
        {"tokenEndsAfterPrefix", "ID**", true, kReasonMalformed,
         Concat("ID**", std::vector<uint8_t>(11, 0xFF), std::vector<uint8_t>(11, 0xFF))});
    return cases;
}

class LoadUserIdentityTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadUserIdentityTest, LoadsOrFailsWithTheRightReason) {
    const LoadCase& c = GetParam();
    ScratchDirectory dir;
    if (c.file != "\x01") dir.WriteIdentity(c.file);
    MarkState state{};
    state.identityLength = 3;  // an earlier identity, kept by a failed load
    state.identity[0] = 'o';
    EXPECT_EQ(LoadUserIdentity(state), c.loads);
    if (c.loads) {
        EXPECT_EQ(state.loadState, kLoadDone);
        EXPECT_EQ(state.loadReason, c.reason);
        EXPECT_EQ(Identity(state), c.identity);
    } else {
        EXPECT_EQ(state.loadState, kLoadFailed);
        EXPECT_EQ(state.loadReason, c.reason);
        EXPECT_EQ(state.identityLength, 3);
        EXPECT_EQ(state.identity[0], 'o');
    }
}

INSTANTIATE_TEST_SUITE_P(Files, LoadUserIdentityTest, ::testing::ValuesIn(LoadCases()),
                         testing::CaseName());

TEST(LoadUserIdentity, SixCharacterPrefixGivesLength28) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    MarkState state{};
    ASSERT_TRUE(LoadUserIdentity(state));
    EXPECT_EQ(state.identityLength, 28);
    EXPECT_EQ(std::string(state.identity, state.identity + 6), "ACME**");
}

TEST(LoadUserIdentity, OverlongTokenUsesItsFirst257Characters) {
    // A 300-character prefix: only 257 characters are read, so the second "*" at position 299
    // is never seen and the load fails for lack of it; one at position 255 is seen.
    ScratchDirectory dir;
    MarkState state{};
    dir.WriteIdentity("*" + std::string(298, 'p') + "*" + kFieldA + "-" + kFieldB);
    EXPECT_FALSE(LoadUserIdentity(state));
    EXPECT_EQ(state.loadReason, kReasonMalformed);

    std::string token = "*" + std::string(254, 'p') + "*" + kFieldA + "-" + kFieldB;
    dir.WriteIdentity(token);
    ASSERT_TRUE(LoadUserIdentity(state));
    EXPECT_EQ(state.identityLength, 256 + 22);
    // Field A starts at the token's last character read; every digit after it is missing.
    EXPECT_EQ(state.identity[256], 0xFF);
    EXPECT_EQ(std::string(state.token).size(), 257u);
}

TEST(LoadUserIdentity, FitsAMarkKeyUpTo154Bytes) {
    ScratchDirectory dir;
    MarkState state{};
    dir.WriteIdentity("*" + std::string(130, 'p') + "*" + kFieldA + "-" + kFieldB);
    ASSERT_TRUE(LoadUserIdentity(state));
    EXPECT_EQ(state.identityLength, 154);
    EXPECT_TRUE(IdentityFitsMarkKey(state));
    dir.WriteIdentity("*" + std::string(131, 'p') + "*" + kFieldA + "-" + kFieldB);
    ASSERT_TRUE(LoadUserIdentity(state));
    EXPECT_EQ(state.identityLength, 155);
    EXPECT_FALSE(IdentityFitsMarkKey(state));
}

}  // namespace
}  // namespace ecc200
