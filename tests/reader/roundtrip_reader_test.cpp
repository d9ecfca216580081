// Our symbols read back by an independent reader, and by ours: every size (and the automatic one)
// with every scheme and with the smallest encodation, seeded random data from one byte up to the
// size's capacity; and inputs that once broke other encoders. (BMP files are read back in the
// tool's tests.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Prefix;

// An encode with the look-ahead, which the fixed schemes and the automatic one use by default.
Settings Fixed(int32_t scheme, int32_t size) {
    return {.scheme = scheme, .size = size, .encodation = ECC200_ENCODATION_LOOKAHEAD};
}

int32_t EncodeStatus(const Settings& s, const Bytes& data) {
    return EncodeAndRead(s, data, false).status;
}

// Read back by the independent reader and by ours.
void ExpectReadBack(const Settings& s, const Bytes& data) {
    const auto e = EncodeAndRead(s, data);
    ASSERT_EQ(e.status, 0);
    ECC200_Reading ours;
    const SymbolSize& size = SizeAt(e.size);
    EXPECT_EQ(ReadMatrix_ECC200(e.modules.data(), size.symbolRows, size.symbolCols, nullptr,
                                nullptr, &ours),
              ECC200_OK);
    EXPECT_EQ(Bytes(ours.data, ours.data + ours.dataLength), data);
    EXPECT_EQ(BytesOf(e.read), data)
        << "scheme " << s.scheme << ", size " << SizeName(s.size) << ", encodation " << s.encodation
        << ", " << std::string(data.begin(), data.end());
}

class EverySizeAndScheme : public ::testing::TestWithParam<std::tuple<int32_t, int32_t>> {};

// Two random pools per case: short, medium and full-capacity prefixes of the first, and the
// full-capacity prefix of the second. Scheme kSchemeCount stands for the automatic scheme with the
// smallest encodation, on data that mixes every class and then, by turns, on plain upper-case
// text and on digits, which it searches in fewer states or not at all.
TEST_P(EverySizeAndScheme, ReadsBackExactly) {
    const auto [size, scheme] = GetParam();
    const Settings s = scheme == kSchemeCount ? Settings{.size = size} : Fixed(scheme, size);
    std::mt19937 random(static_cast<uint32_t>(1000 * size + scheme));
    for (int pool = 0; pool < 2; ++pool) {
        const int32_t dataClass =
            scheme < kSchemeCount ? scheme : (pool == 0 ? 0 : 7 + (size + 1) % 2);
        const Bytes data = testing::RandomData(dataClass, ECC200_MAX_DATA_LENGTH, random);
        std::size_t full = 0, failing = data.size() + 1;  // the longest prefix that fits
        while (failing - full > 1) {
            const std::size_t middle = (full + failing) / 2;
            (EncodeStatus(s, Prefix(data, middle)) == 0 ? full : failing) = middle;
        }
        ASSERT_GE(full, 1u) << "not even one byte fits";
        const std::vector<std::size_t> lengths =
            pool == 0 ? std::vector<std::size_t>{1, 2, 3, full / 4, full / 2, full - 1, full}
                      : std::vector<std::size_t>{full};
        for (const std::size_t length : lengths) {
            // EDIFACT's end of data makes some lengths below the capacity not fit.
            if (length < 1 || EncodeStatus(s, Prefix(data, length)) != 0) continue;
            ExpectReadBack(s, Prefix(data, length));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, EverySizeAndScheme,
                         ::testing::Combine(::testing::Range(ECC200_SIZE_AUTO, kSizeCount),
                                            ::testing::Range(0, kSchemeCount + 1)),
                         [](const auto& param) {
                             return std::string(SizeName(std::get<0>(param.param))) + "_scheme" +
                                    std::to_string(std::get<1>(param.param));
                         });

class FieldCases : public ::testing::TestWithParam<const char*> {};

// In every scheme that can carry them, at the automatic size and at every size named in the
// reports, or the smallest rectangle, that holds them.
TEST_P(FieldCases, ReadBackInEverySchemeThatCarriesThem) {
    const std::string input = GetParam();
    const Bytes data(input.begin(), input.end());
    for (int32_t scheme = 0; scheme < kSchemeCount; ++scheme) {
        const int32_t automatic = EncodeStatus(Fixed(scheme, ECC200_SIZE_AUTO), data);
        if (scheme != 0 && (automatic == 4 || automatic == 6 || automatic == 17)) continue;
        ExpectReadBack(Fixed(scheme, ECC200_SIZE_AUTO), data);
        int32_t rectangle = kSquareSizeCount;
        while (rectangle < kSizeCount && EncodeStatus(Fixed(scheme, rectangle), data) != 0)
            ++rectangle;
        for (const int32_t size : {0, 1, 25, 27, rectangle}) {
            if (size < kSizeCount && EncodeStatus(Fixed(scheme, size), data) == 0)
                ExpectReadBack(Fixed(scheme, size), data);
        }
    }
    // Reported as rejected elsewhere although C40 fits 12x12.
    EXPECT_TRUE(input != "9HR3Z6" || EncodeStatus(Fixed(ECC200_SCHEME_C40, 1), data) == 0);
}

INSTANTIATE_TEST_SUITE_P(Reader, FieldCases,
                         ::testing::Values("*DTCP01", "*CH/GN1/022/00", "9008123567",
                                           "test TE>240 2 I.E ST>300", "<ABCDEFG><ABCDEFGK>",
                                           "ABCDEFG?hIjK5-<?L.2)[corrupT", "0&0&0&0&0&0&0_",
                                           "0&0&0&0&0&0&0", "-=-1-=-2-=-3xyz", "-=-1-=-2-=-3-xy",
                                           "SD0000-REF-C0-I0", "Hello World!", "OH\037CRAP", "A>",
                                           "AB>", "764x 2.0-R20-TIALN", "002K6-24.BTPA.1", "9HR3Z6",
                                           "02900002608229JDZ*9P0AD8AWFRB", "aaaaabbbbbccccc",
                                           "XXXXXXXXX|Xxxxxxx|123 W XXXXXXXX AVE",
                                           "Acetylsalicyls\xC3\xA4ure"));

}  // namespace
}  // namespace ecc200
