// Loading user.id: its first token, the prefix and the hexadecimal fields that key the marks, read
// afresh for every marked encode.
#include "marks/user_identity.h"

#include <cstring>

#include "marks/identity_file.h"

namespace ecc200 {
namespace {

constexpr int32_t kFieldDigits = 22;  // 11 bytes as hexadecimal digits
constexpr int32_t kFieldBytes = 11;
constexpr int32_t kFieldBOffset = kFieldDigits + 1;  // one separator character is skipped

// The value of a hexadecimal digit, or -1 for any other character.
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Decodes the 22 digits starting at `first` into 11 bytes. Positions at or beyond the token's
// end count as characters that are not hexadecimal digits. Returns false if any digit was bad.
bool DecodeField(const char* token, int32_t tokenLength, int32_t first, uint8_t* out) {
    bool allValid = true;
    auto digitAt = [&](int32_t position) {
        const int value = position < tokenLength ? HexValue(token[position]) : -1;
        if (value < 0) allValid = false;
        return value;
    };
    for (int32_t m = 0; m < kFieldBytes; ++m) {
        const int high = digitAt(first + 2 * m);
        const int low = digitAt(first + 2 * m + 1);
        if (low < 0) {
            out[m] = 0xFF;
        } else {
            out[m] = static_cast<uint8_t>((high < 0 ? 0xF0 : high << 4) | low);
        }
    }
    return allValid;
}

// Length of the prefix up to and including the second "*", or 0 when there is none.
int32_t PrefixLength(const char* token, int32_t tokenLength) {
    int stars = 0;
    for (int32_t i = 0; i < tokenLength; ++i) {
        if (token[i] == '*' && ++stars == 2) return i + 1;
    }
    return 0;
}

}  // namespace

bool LoadUserIdentity(MarkState& state, const char* path) {
    state.loadState = kLoadRunning;
    char token[kIdentityTokenCapacity] = {};
    if (!ReadIdentityToken(path, token)) {
        state.loadState = kLoadFailed;
        state.loadReason = kReasonUnavailable;
        return false;
    }
    std::memcpy(state.token, token, sizeof token);
    const auto tokenLength = static_cast<int32_t>(std::strlen(token));
    const int32_t prefix = PrefixLength(token, tokenLength);
    if (prefix == 0) {
        state.loadState = kLoadFailed;
        state.loadReason = kReasonMalformed;
        return false;
    }
    uint8_t fieldA[kFieldBytes];
    uint8_t fieldB[kFieldBytes];
    const bool validA = DecodeField(token, tokenLength, prefix, fieldA);
    const bool validB = DecodeField(token, tokenLength, prefix + kFieldBOffset, fieldB);
    if (!validA || !validB) state.loadReason = kReasonMalformed;
    std::memcpy(state.identity, token, static_cast<std::size_t>(prefix));
    std::memcpy(state.identity + prefix, fieldA, kFieldBytes);
    std::memcpy(state.identity + prefix + kFieldBytes, fieldB, kFieldBytes);
    state.identityLength = prefix + 2 * kFieldBytes;
    state.loadState = kLoadDone;
    return true;
}

StatusCode LoadMarkIdentity(MarkState*& state) {
    if (state == nullptr) state = AllocateMarkState();
    if (state == nullptr) return kStatusInternal;
    return LoadMarkIdentityInto(*state, kUserIdentityFile);
}

StatusCode LoadMarkIdentityInto(MarkState& state, const char* path) {
    if (!LoadUserIdentity(state, path) || !IdentityFitsMarkKey(state)) return kStatusNoIdentity;
    return kStatusOk;
}

}  // namespace ecc200
