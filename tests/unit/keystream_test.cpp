// The marks' keystream must be RC4 exactly: published vectors, not our own output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marks/keystream.h"

namespace ecc200 {
namespace {

struct Rc4Vector {
    std::vector<uint8_t> key;
    int32_t offset;
    std::string expectedHex;
};

std::string Hex(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

std::vector<uint8_t> Ascending(uint8_t first, uint8_t last) {
    std::vector<uint8_t> key;
    for (int v = first; v <= last; ++v) key.push_back(static_cast<uint8_t>(v));
    return key;
}

std::vector<uint8_t> Text(const std::string& s) {
    return {s.begin(), s.end()};
}

class KeystreamVectors : public ::testing::TestWithParam<Rc4Vector> {};

TEST_P(KeystreamVectors, MatchesPublishedRc4Output) {
    const Rc4Vector& v = GetParam();
    MarkState state{};
    std::copy(v.key.begin(), v.key.end(), state.key);
    state.keyLength = static_cast<int32_t>(v.key.size());
    ScheduleMarkKey(state);
    EXPECT_EQ(state.streamI, 0u);
    EXPECT_EQ(state.streamJ, 0u);
    DiscardMarkBytes(state, v.offset);
    std::vector<uint8_t> produced(v.expectedHex.size() / 2);
    for (auto& b : produced) b = NextMarkByte(state);
    EXPECT_EQ(Hex(produced), v.expectedHex);
}

INSTANTIATE_TEST_SUITE_P(Rfc6229AndClassic, KeystreamVectors,
                         ::testing::Values(
                             // RFC 6229, 40-bit key 0x0102030405
                             Rc4Vector{Ascending(1, 5), 0, "b2396305f03dc027ccc3524a0a1118a8"},
                             Rc4Vector{Ascending(1, 5), 16, "6982944f18fc82d589c403a47a0d0919"},
                             Rc4Vector{Ascending(1, 5), 240, "28cb1132c96ce286421dcaadb8b69eae"},
                             Rc4Vector{Ascending(1, 5), 256, "1cfcf62b03eddb641d77dfcf7f8d8c93"},
                             Rc4Vector{Ascending(1, 5), 4096, "ff25b58995996707e51fbdf08b34d875"},
                             // RFC 6229, 256-bit key 0x0102...20
                             Rc4Vector{Ascending(1, 32), 0, "eaa6bd25880bf93d3f5d1e4ca2611d91"},
                             Rc4Vector{Ascending(1, 32), 1536, "3e34135c79db010200767651cf263073"},
                             // The classic text keys
                             Rc4Vector{Text("Key"), 0, "eb9f7781b734ca72a719"},
                             Rc4Vector{Text("Wiki"), 0, "6044db6d41b7"},
                             Rc4Vector{Text("Secret"), 0, "04d46b053ca87b59"}));

TEST(Keystream, FullLengthKeyUsesEveryKeyByteOnce) {
    // With a 256-byte key the schedule never wraps the key; changing its last byte must matter.
    MarkState a{};
    MarkState b{};
    for (int n = 0; n < 256; ++n) a.key[n] = b.key[n] = static_cast<uint8_t>(n * 7);
    b.key[255] ^= 1;
    a.keyLength = b.keyLength = 256;
    ScheduleMarkKey(a);
    ScheduleMarkKey(b);
    bool differs = false;
    for (int n = 0; n < 32; ++n) differs |= NextMarkByte(a) != NextMarkByte(b);
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace ecc200
