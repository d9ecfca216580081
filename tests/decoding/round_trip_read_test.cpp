// Our encoder's symbols read back through ReadMatrix_ECC200: every size, every scheme, the
// options and both marks, and the field cases that broke other encoders.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "decoding/read_support.h"

namespace ecc200 {
namespace {

using testing::EncodeSettings;
using testing::ReadModules;

// Bytes a scheme carries (GS1 data: digits with group separators).
std::vector<uint8_t> DataFor(int32_t scheme, bool gs1, std::size_t length, std::mt19937& random) {
    const std::string upper = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string alphabets[] = {upper + "abcdefghijklmnopqrstuvwxyz.-/\x1D\xC4\x01",
                                     upper + "xyz\xE9\x7F",
                                     upper + "a,\xC3",
                                     "",
                                     upper + ";<=>?@[\\]^",
                                     "abcdefghijklmnopqrstuvwxyz 0123456789A.\xC3",
                                     upper + "\r*>"};
    std::vector<uint8_t> data(length);
    for (std::size_t i = 0; i < length; ++i) {
        const auto pick = static_cast<uint32_t>(random());
        if (gs1) {
            data[i] = i > 0 && pick % 9 == 0 ? 0x1D : static_cast<uint8_t>('0' + pick % 10);
        } else if (scheme == ECC200_SCHEME_BASE256) {
            data[i] = static_cast<uint8_t>(pick);
        } else {
            const std::string& alphabet = alphabets[scheme];
            data[i] = static_cast<uint8_t>(alphabet[pick % alphabet.size()]);
        }
    }
    return data;
}

struct OptionCase {
    const char* name;
    int32_t encodation;
    int32_t gs1;
    int32_t eci;
};

constexpr OptionCase kOptionCases[] = {
    {"look-ahead", ECC200_ENCODATION_LOOKAHEAD, 0, 0},
    {"smallest", ECC200_ENCODATION_SMALLEST, 0, 0},
    {"gs1", ECC200_ENCODATION_LOOKAHEAD, 1, 0},
    {"eci 26", ECC200_ENCODATION_LOOKAHEAD, 0, 26},
    {"eci 5000", ECC200_ENCODATION_SMALLEST, 0, 5000},
    {"eci 811799", ECC200_ENCODATION_LOOKAHEAD, 0, 811799},
};

struct MarkCase {
    bool user;
    bool product;
};
constexpr MarkCase kMarkCases[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// Encodes data that fills about two thirds of the size (shorter while it does not fit).
std::vector<uint8_t> EncodeFitting(EncodeSettings settings, int32_t sizeIndex, std::mt19937& random,
                                   std::vector<uint8_t>& data, int32_t& status) {
    settings.size = sizeIndex;
    std::size_t length = static_cast<std::size_t>(SizeAt(sizeIndex).totalDataCodewords) * 2 / 3 + 1;
    int32_t used = -1;
    for (;;) {
        data = DataFor(settings.scheme, settings.gs1 != 0, length, random);
        std::vector<uint8_t> modules = testing::EncodeModules(settings, data, status, used);
        if ((status != ECC200_ERR_SIZE_TOO_SMALL && status != ECC200_ERR_DATA_TOO_LONG) ||
            length == 1) {
            return modules;
        }
        length = length * 3 / 4;
    }
}

TEST(ReadRoundTrip, EverySizeSchemeOptionAndMark) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    std::mt19937 random(19);
    int32_t reads = 0;
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        for (int32_t scheme = ECC200_SCHEME_AUTO; scheme <= ECC200_SCHEME_X12; ++scheme) {
            for (const OptionCase& option : kOptionCases) {
                for (const MarkCase& mark : kMarkCases) {
                    SCOPED_TRACE(std::string(SizeName(sizeIndex)) + " scheme " +
                                 std::to_string(scheme) + " " + option.name + " user " +
                                 std::to_string(mark.user) + " product " +
                                 std::to_string(mark.product));
                    const EncodeSettings settings{
                        .scheme = scheme,
                        .encodation = option.encodation,
                        .gs1 = option.gs1,
                        .eci = option.eci,
                        .userMark = mark.user,
                        .productId = mark.product ? testing::kProductId : nullptr};
                    std::vector<uint8_t> data;
                    int32_t status = -1;
                    const auto modules = EncodeFitting(settings, sizeIndex, random, data, status);
                    if (status != ECC200_OK) continue;  // the scheme cannot carry this data
                    const auto read = ReadModules(modules, sizeIndex,
                                                  mark.product ? testing::kProductId : nullptr);
                    ASSERT_EQ(read.status, ECC200_OK);
                    ++reads;
                    EXPECT_EQ(read.Data(), data);
                    EXPECT_EQ(read.reading.gs1, option.gs1);
                    EXPECT_EQ(read.reading.eci, option.eci == 0 ? -1 : option.eci);
                    const std::string id = option.gs1 ? "]d2" : option.eci ? "]d4" : "]d1";
                    EXPECT_EQ(std::string(read.reading.symbologyId), id);
                    EXPECT_EQ(read.reading.productMarkLifted, mark.product ? 1 : 0);
                    const int32_t blocks = SizeAt(sizeIndex).blockCount;
                    EXPECT_EQ(read.reading.blockCount, blocks);
                    EXPECT_EQ(read.reading.userMark,
                              mark.user ? ECC200_MARK_VALID : ECC200_MARK_ABSENT);
                    EXPECT_EQ(read.reading.userMarkBlocks, mark.user ? blocks : 0);
                    EXPECT_EQ(read.Errors(), std::vector<int32_t>(static_cast<std::size_t>(blocks),
                                                                  mark.user ? 1 : 0));
                    if (mark.product) {
                        // Without the identifier the symbol does not decode.
                        EXPECT_EQ(ReadModules(modules, sizeIndex).status, ECC200_ERR_UNREADABLE);
                    }
                }
            }
        }
    }
    EXPECT_GT(reads, 30 * 6 * 4 * 4);  // most combinations carry their data
}

// The inputs that broke other encoders, in every scheme that takes them, automatic and smallest.
TEST(ReadRoundTrip, FieldCases) {
    const std::string cases[] = {"*DTCP01",
                                 "*CH/GN1/022/00",
                                 "9008123567",
                                 "test TE>240 2 I.E ST>300",
                                 "<ABCDEFG><ABCDEFGK>",
                                 "ABCDEFG?hIjK5-<?L.2)[corrupT",
                                 "0&0&0&0&0&0&0_",
                                 "0&0&0&0&0&0&0",
                                 "-=-1-=-2-=-3xyz",
                                 "-=-1-=-2-=-3-xy",
                                 "SD0000-REF-C0-I0",
                                 "Hello World!",
                                 "OH\037CRAP",
                                 "A>",
                                 "AB>",
                                 "764x 2.0-R20-TIALN",
                                 "002K6-24.BTPA.1",
                                 "9HR3Z6",
                                 "02900002608229JDZ*9P0AD8AWFRB",
                                 "aaaaabbbbbccccc",
                                 "XXXXXXXXX|Xxxxxxx|123 W XXXXXXXX AVE",
                                 "Acetylsalicyls\xC3\xA4ure"};
    const int32_t sizes[] = {ECC200_SIZE_AUTO, ECC200_SIZE_10X10, ECC200_SIZE_12X12,
                             ECC200_SIZE_8X32, ECC200_SIZE_16X48, ECC200_SIZE_144X144};
    int32_t reads = 0;
    for (const std::string& text : cases) {
        const std::vector<uint8_t> data(text.begin(), text.end());
        for (int32_t scheme = ECC200_SCHEME_AUTO; scheme <= ECC200_SCHEME_X12; ++scheme) {
            for (const int32_t encodation :
                 {ECC200_ENCODATION_LOOKAHEAD, ECC200_ENCODATION_SMALLEST}) {
                for (const int32_t size : sizes) {
                    SCOPED_TRACE(text + " scheme " + std::to_string(scheme) + " size " +
                                 std::to_string(size));
                    int32_t status = -1, used = -1;
                    const auto modules = testing::EncodeModules(
                        {.scheme = scheme, .size = size, .encodation = encodation}, data, status,
                        used);
                    if (status != ECC200_OK) continue;
                    const auto read = ReadModules(modules, used);
                    ASSERT_EQ(read.status, ECC200_OK);
                    EXPECT_EQ(read.Data(), data);
                    ++reads;
                }
            }
        }
    }
    EXPECT_GT(reads, 400);
}

}  // namespace
}  // namespace ecc200
