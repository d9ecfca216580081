// The smallest encodation read back where its search takes shortcuts and its way back has most
// to find: long digit runs beside other bytes (the search skips whole periods of a digit run),
// runs of the value schemes ending at every remainder of their triplets and groups, and Base 256
// fields around the length where the length field grows from one codeword to two.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

Bytes Repeat(const std::string& pattern, std::size_t length) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>(pattern[i % pattern.size()]);
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// Reads the data back at the automatic size and, where it differs, at the next size of the
// automatic order, where the stream's end has room to spare.
void ExpectReadBackAtTwoSizes(const Bytes& data, const std::string& label) {
    const auto automatic = EncodeAndRead(Settings{}, data);
    ASSERT_EQ(automatic.status, 0) << label;
    EXPECT_EQ(BytesOf(automatic.read), data) << label;
    if (automatic.size + 1 >= kSquareSizeCount) return;
    const auto larger = EncodeAndRead(Settings{.size = automatic.size + 1}, data);
    ASSERT_EQ(larger.status, 0) << label;
    EXPECT_EQ(BytesOf(larger.read), data) << label << " at the next size";
}

const std::vector<std::string> kNeighbours = {"A", "a", "*", "!", " ", "\xE9", "\x1D"};

// Digit runs of every length around the period the search skips by, before, after and between
// bytes of every kind.
TEST(SmallestReader, DigitRunsBesideOtherBytes) {
    for (const std::size_t digits : {1u, 2u, 3u, 11u, 12u, 13u, 24u, 25u, 26u, 40u, 41u, 61u}) {
        for (const std::string& digitPattern : {std::string("7"), std::string("0123456789")}) {
            const Bytes run = Repeat(digitPattern, digits);
            for (const std::string& neighbour : kNeighbours) {
                const Bytes other(neighbour.begin(), neighbour.end());
                const std::string label = neighbour + " and " + std::to_string(digits) + " digits";
                ExpectReadBackAtTwoSizes(Join({other, run}), label + ", digits last");
                ExpectReadBackAtTwoSizes(Join({run, other}), label + ", digits first");
                ExpectReadBackAtTwoSizes(Join({other, run, other, run, other}),
                                         label + ", between");
            }
        }
    }
}

// Runs that C40, Text, X12 and EDIFACT carry, of every length modulo 3 and 4, alone, after a
// byte that starts the stream elsewhere, and before tails of one and two ASCII codewords.
TEST(SmallestReader, ValueRunsEndingAtEveryRemainder) {
    const std::string alphabets[] = {"ABCDEFGHIJKLMNOP", "abcdefghijklmnop", "A*B>C\rD*E>F",
                                     ".A-B/C:D;E<F=G?"};
    const std::string tails[] = {"", "1", "12", "a", "\xE9", "A"};
    for (const std::string& alphabet : alphabets) {
        for (std::size_t length = 20; length < 32; ++length) {
            const Bytes run = Repeat(alphabet, length);
            for (const std::string& head : {std::string(), std::string("\xE9")}) {
                for (const std::string& tail : tails) {
                    const Bytes data = Join(
                        {Bytes(head.begin(), head.end()), run, Bytes(tail.begin(), tail.end())});
                    ExpectReadBackAtTwoSizes(data, alphabet.substr(0, 4) + " run of " +
                                                       std::to_string(length) + " + tail " + tail);
                }
            }
        }
    }
}

// Base 256 fields of 249 to 251 bytes (one-codeword length, two-codeword length), alone, after
// and before ASCII bytes and digits, at the automatic size and at every size that holds them.
TEST(SmallestReader, Base256FieldsAroundTheLongLength) {
    for (std::size_t length = 248; length <= 252; ++length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>(128 + i % 128);
        const Bytes field = testing::Bytes(bytes);
        for (const Bytes& data :
             {field, Join({testing::Bytes("A"), field}), Join({field, testing::Bytes("A")}),
              Join({testing::Bytes("12"), field, testing::Bytes("3456")})}) {
            const std::string label =
                std::to_string(data.size()) + " bytes, field " + std::to_string(length);
            const auto automatic = EncodeAndRead(Settings{}, data);
            ASSERT_EQ(automatic.status, 0) << label;
            EXPECT_EQ(BytesOf(automatic.read), data) << label;
            for (int32_t size = automatic.size + 1; size < kSquareSizeCount; ++size) {
                const auto fixed = EncodeAndRead(Settings{.size = size}, data);
                ASSERT_EQ(fixed.status, 0) << label << " size " << size;
                EXPECT_EQ(BytesOf(fixed.read), data) << label << " size " << size;
            }
        }
    }
}

}  // namespace
}  // namespace ecc200
