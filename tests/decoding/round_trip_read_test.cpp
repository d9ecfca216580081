// Our encoder's symbols read back through ReadMatrix_ECC200: every size, every scheme, the
// options and both marks; with the marks, the reads that must fail (no or a wrong product key or
// identity) or cannot check the user mark. (The reader tests read the field cases with ours too.)
#include <gtest/gtest.h>

#include <tuple>

#include "decoding/read_support.h"

namespace ecc200 {
namespace {

using testing::EncodeSettings;
using testing::ReadModules;

// Bytes a scheme carries (Base 256 any; GS1 data: digits with group separators).
std::vector<uint8_t> DataFor(int32_t scheme, bool gs1, std::size_t length, std::mt19937& random) {
    const std::string upper = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string lower = "abcdefghijklmnopqrstuvwxyz";
    const std::string alphabets[] = {upper + lower + ".-/\x1D\xC4\x01",
                                     upper + "xyz\xE9\x7F",
                                     upper + "a,\xC3",
                                     "",
                                     upper + ";<=>?@[\\]^",
                                     lower + " 0123456789A.\xC3",
                                     upper + "\r*>"};
    const std::string& alphabet = gs1 ? std::string("0123456789\x1D") : alphabets[scheme];
    std::vector<uint8_t> data(length);
    for (uint8_t& byte : data) {
        const auto pick = static_cast<uint32_t>(random());
        byte = alphabet.empty() ? static_cast<uint8_t>(pick)
                                : static_cast<uint8_t>(alphabet[pick % alphabet.size()]);
    }
    if (gs1) data[0] = '0';  // GS1 data opens with a digit
    return data;
}

// Encodes and reads back what the settings promise; false when the encode fails.
bool ReadsBack(const EncodeSettings& s, const std::vector<uint8_t>& data) {
    const testing::Encoded e = testing::Encode(s, data);
    if (e.status != ECC200_OK) return false;
    const auto read = ReadModules(e.modules, e.size, s.productId);
    const auto blocks = static_cast<std::size_t>(SizeAt(e.size).blockCount);
    const std::string id = s.gs1 != 0 ? "]d2" : s.eci != 0 ? "]d4" : "]d1";
    EXPECT_EQ(std::tuple(read.status, read.Data(), read.reading.gs1, read.reading.eci,
                         std::string(read.reading.symbologyId), read.reading.productMarkLifted),
              std::tuple(ECC200_OK, data, s.gs1, s.eci == 0 ? -1 : s.eci, id,
                         s.productId != nullptr ? 1 : 0));
    EXPECT_EQ(std::tuple(read.reading.userMark, read.reading.userMarkBlocks, read.Errors()),
              std::tuple(s.userMark ? ECC200_MARK_VALID : ECC200_MARK_ABSENT,
                         s.userMark ? static_cast<int32_t>(blocks) : 0,
                         std::vector<int32_t>(blocks, s.userMark ? 1 : 0)));
    if (s.productId != nullptr) {
        // Without the identifier, with a wrong one or with a wrong identity, nothing decodes.
        const std::tuple<const char*, const char*, int32_t> attempts[] = {
            {nullptr, nullptr, ECC200_ERR_UNREADABLE},
            {"PRODUCT-0042/C", nullptr, ECC200_ERR_UNREADABLE},
            {s.productId, "other.id", ECC200_ERR_UNREADABLE},
            {s.productId, "missing.id", ECC200_ERR_NO_IDENTITY}};
        for (const auto& [productId, identity, expected] : attempts) {
            EXPECT_EQ(ReadModules(e.modules, e.size, productId, identity).status, expected);
        }
    } else {
        // Without an identity the data still reads, its mark unchecked.
        const auto unchecked = ReadModules(e.modules, e.size, nullptr, "missing.id");
        EXPECT_EQ(std::tuple(unchecked.status, unchecked.Data(), unchecked.reading.userMark),
                  std::tuple(ECC200_OK, data, ECC200_MARK_UNCHECKED));
    }
    return true;
}

constexpr EncodeSettings kOptions[] = {{},
                                       {.encodation = ECC200_ENCODATION_SMALLEST},
                                       {.gs1 = 1},
                                       {.eci = 26},
                                       {.encodation = ECC200_ENCODATION_SMALLEST, .eci = 5000},
                                       {.eci = 811799}};

TEST(ReadRoundTrip, EverySizeSchemeOptionAndMark) {
    const testing::IdentityDirectory dir;
    std::mt19937 random(19);
    int32_t reads = 0;
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        for (int32_t scheme = ECC200_SCHEME_AUTO; scheme <= ECC200_SCHEME_X12; ++scheme) {
            for (int32_t k = 0; k < 6; ++k) {
                // Over the schemes, each option meets no mark, the user mark, the product mark
                // and both.
                EncodeSettings s = kOptions[k];
                s.scheme = scheme;
                s.size = sizeIndex;
                s.userMark = (k + scheme) % 2 == 1;
                s.productId = (k + scheme) / 2 % 2 == 1 ? testing::kProductId : nullptr;
                SCOPED_TRACE(std::string(SizeName(sizeIndex)) + " scheme " +
                             std::to_string(scheme) + " option " + std::to_string(k));
                // Data of about two thirds of the size, shorter while it does not fit.
                auto length = static_cast<std::size_t>(SizeAt(sizeIndex).totalDataCodewords) * 2;
                for (length = length / 3 + 1; length > 0; length = length * 3 / 4) {
                    if (ReadsBack(s, DataFor(scheme, s.gs1 != 0, length, random))) break;
                }
                reads += length > 0 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(reads, 48 * 7 * 6 * 3 / 4);  // most combinations carry their data
}

}  // namespace
}  // namespace ecc200
