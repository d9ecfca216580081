// Seeded random data, lengths 0 to 3116 in byte classes that suit each scheme and ones that do
// not, through both drivers: the stream written into the symbol's codeword array, or into a tiny
// one, agrees with an unbounded array in result, scheme, size and every codeword stored; only the
// errors a scheme can raise come out.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "encodation/auto_scheme.h"
#include "encodation/fixed_scheme.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

// Digits, C40, Text, X12, EDIFACT, X12 with a few bytes outside it, a mixture; then extended
// bytes (7) and any byte (8). By scheme, the class that suits it.
constexpr std::string_view kClasses[] = {
    "0123456789",
    " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    " 0123456789abcdefghijklmnopqrstuvwxyz",
    "\r*> 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^",
    "AB*a\r>1 ",
    "ABC!{}`~\x7f\x01"};
constexpr std::size_t kSuiting[] = {8, 0, 1, 8, 4, 2, 3};

// The first inputs: the longest data of the suiting class and of extended bytes, and letters past
// the C40 and Text value limit. Then mostly short data, where the end-of-data rules act.
std::string RandomData(int32_t scheme, int32_t n, std::mt19937& rng) {
    if (n == 2 || n == 3) return std::string(1600, n == 2 ? 'A' : 'a');
    const auto length = static_cast<uint32_t>(n < 2 || rng() % 3 == 0 ? kMaxDataLength : 48);
    std::size_t set = n == 1 ? 7 : n == 0 || rng() % 2 == 0 ? kSuiting[scheme] : rng() % 9;
    std::string data(n < 2 ? length : rng() % (length + 1), '\0');
    for (char& c : data) {
        if (n % 2 == 1 && n > 1 && rng() % 64 == 0) set = rng() % 9;  // odd inputs mix classes
        const auto r = rng();
        c = set == 7   ? static_cast<char>(128 + r % 128)
            : set == 8 ? static_cast<char>(r % 256)
                       : kClasses[set][r % kClasses[set].size()];
    }
    return data;
}

struct Outcome {
    int32_t result, scheme, sizeIndex;
    std::vector<uint8_t> stored;  // the first `keep` codewords at most
    bool operator==(const Outcome&) const = default;
};

Outcome Encode(std::string_view data, int32_t scheme, int32_t size, int32_t capacity,
               int32_t keep) {
    const auto handle = testing::PreparedSymbol(data, scheme, size);
    Symbol& symbol = testing::Internals(handle);
    // A heap array of exactly `capacity` codewords, so that any access past it stops the test.
    const std::unique_ptr<uint8_t[]> out(new uint8_t[static_cast<std::size_t>(capacity)]);
    const int32_t result = scheme == 0 ? EncodeAutoScheme(symbol, out.get(), capacity)
                                       : EncodeFixedScheme(symbol, out.get(), capacity);
    return {result, symbol.scheme, symbol.sizeIndex,
            std::vector<uint8_t>(out.get(), out.get() + std::clamp(result, 0, keep))};
}

// The errors a driver may report, by scheme: none for automatic and ASCII.
bool MayReport(int32_t scheme, int32_t result, std::string_view data) {
    if (scheme == 3) return result == -17 && data.empty();
    return result == (scheme == 4 ? -4 : scheme == 2 || scheme == 5 || scheme == 6 ? -6 : 0);
}

class EncodeRandomData : public ::testing::TestWithParam<int32_t> {};

TEST_P(EncodeRandomData, MatchesAnUnboundedArray) {
    const int32_t scheme = GetParam();
    std::mt19937 rng(0xECC200u + static_cast<uint32_t>(scheme));
    int32_t pastTheArray = 0;
    for (int32_t n = 0; n < 3000; ++n) {
        const std::string data = RandomData(scheme, n, rng);
        const int32_t size = n % 4 < 2 ? -1 : n % 4 == 2 ? 23 : static_cast<int32_t>(rng() % 30);
        SCOPED_TRACE(::testing::Message() << "input " << n << ", size " << size);
        constexpr int32_t kUnbounded = 8 * kMaxDataLength;
        const Outcome unbounded = Encode(data, scheme, size, kUnbounded, kCodewordCapacity);
        ASSERT_EQ(Encode(data, scheme, size, kCodewordCapacity, kCodewordCapacity), unbounded);
        const auto tiny = static_cast<int32_t>(rng() % 8);
        ASSERT_EQ(Encode(data, scheme, size, tiny, tiny),
                  Encode(data, scheme, size, kUnbounded, tiny));
        if (unbounded.result < 0) {
            ASSERT_TRUE(MayReport(scheme, unbounded.result, data)) << unbounded.result;
            continue;
        }
        ASSERT_GE(unbounded.result, 1);
        ASSERT_TRUE(scheme != 0 || unbounded.scheme == 1);  // automatic ends in ASCII
        if (unbounded.result > kCodewordCapacity) ++pastTheArray;
    }
    // ASCII, Base 256 and EDIFACT streams of long data outgrow the array; so does the automatic
    // driver's on long runs of extended bytes.
    EXPECT_TRUE(scheme == 2 || scheme >= 5 || pastTheArray > 0);
}

// Parameter: the scheme, 0 for automatic selection.
INSTANTIATE_TEST_SUITE_P(EverySchemeAndAutomatic, EncodeRandomData, ::testing::Range(0, 7));

}  // namespace
}  // namespace ecc200
