// The keyed marks' parts that the symbol digests cannot pin on their own: the keystream against
// published RC4 output, and what loading user.id makes of well-formed and malformed files. What
// the marks do to a symbol is pinned by the marked digests and read back by the reader tests.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "marks/keystream.h"
#include "marks/user_identity.h"
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

// Name, file ("\x01" for no file at all), identity length (0 for a failed load), and the hex of
// the 22 bytes after the prefix.
using LoadCase = std::tuple<const char*, std::string, int32_t, std::string>;

const std::string kFields = "00112233445566778899AA-0123456789abcdefABCDEF";
const std::string kBytes = "00112233445566778899aa0123456789abcdefabcdef", kBad(44, 'f');

// clang-format off
const LoadCase kLoadCases[] = {
    {"missing", "\x01", 0, ""},
    {"whiteSpaceOnly", " \n\t \r\n", 0, ""},
    {"oneStar", "ACME*" + kFields, 0, ""},
    {"sixCharPrefixAmidWhiteSpace", "\n  ACME**" + kFields + " more\ntokens", 28, kBytes},
    {"lowerCaseHex", "a*b*00112233445566778899aax0123456789abcdefABCDEF", 26, kBytes},
    {"badHighDigitGivesF0", "ID***0112233445566778899AA-0123456789abcdefABCDEF", 26, "f0" + kBytes.substr(2)},
    {"badLowDigitGives255", "ID**00112233445566778899AA-0g23456789abcdefABCDEF", 26, kBytes.substr(0, 22) + "ff" + kBytes.substr(24)},
    // Read as bytes: an end-of-file byte (0x1A) is an ordinary character, CR LF white space.
    {"endOfFileByteSeparator", "\r\nID**00112233445566778899AA\x1A" + kFields.substr(23) + "\r\n", 26, kBytes},
    {"tokenEndsInFieldB", "ID**00112233445566778899AA-012", 26, kBytes.substr(0, 24) + std::string(20, 'f')},
    // Only 257 characters of a token are read: a second "*" at 299 is never seen, one at 255
    // is, and field A then starts on the last character read.
    {"starBeyond257", "*" + std::string(298, 'p') + "*" + kFields, 0, ""},
    {"starWithin257", "*" + std::string(254, 'p') + "*" + kFields, 278, kBad},
    // The 257th character is read: with the second "*" at 254, field A gets two digits.
    {"lastCharacterRead", "*" + std::string(253, 'p') + "*" + kFields, 277, "00" + std::string(42, 'f')},
};
// clang-format on

TEST(LoadUserIdentity, LoadsTheIdentityOrFails) {
    for (const auto& [name, file, identityLength, fieldBytes] : kLoadCases) {
        SCOPED_TRACE(name);
        testing::ScratchDirectory dir;
        if (file != "\x01") dir.WriteIdentity(file);
        MarkState state{};
        state.identityLength = 3;  // an earlier identity, kept by a failed load
        const bool loads = identityLength != 0;
        ASSERT_EQ(std::tuple(LoadUserIdentity(state), state.identityLength),
                  std::tuple(loads, loads ? identityLength : 3));
        if (!loads) continue;
        const auto prefix = static_cast<size_t>(identityLength - 22);
        const size_t at = file.find_first_not_of(" \r\n");
        EXPECT_EQ(std::string(state.identity, state.identity + prefix), file.substr(at, prefix));
        EXPECT_EQ(Hex(state.identity + prefix, 22), fieldBytes);
    }
}

}  // namespace
}  // namespace ecc200
