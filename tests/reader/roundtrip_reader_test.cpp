// Our symbols read back by an independent reader: every size with every scheme, seeded random
// data from one byte up to the size's capacity, through the module buffer and through a BMP file
// that the library wrote; and inputs that once broke other encoders.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::MakeSymbol;
using testing::ScratchDirectory;
using testing::SymbolPtr;

using Bytes = std::vector<uint8_t>;

constexpr const char* kSchemeNames[] = {"Auto",    "Ascii", "C40", "Base256",
                                        "Edifact", "Text",  "X12"};

std::string Printable(const Bytes& bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        if (b >= 32 && b < 127 && b != '\\') {
            text.push_back(static_cast<char>(b));
        } else {
            text += "\\x" + std::string(1, "0123456789ABCDEF"[b >> 4]) + "0123456789ABCDEF"[b & 15];
        }
    }
    return text;
}

// Bytes that a scheme carries, weighted towards what the scheme is meant for.
Bytes RandomData(int32_t scheme, std::size_t length, std::mt19937& random) {
    static const std::string kX12 = "\r*> 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const std::string kUpper = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const std::string kLower = " 0123456789abcdefghijklmnopqrstuvwxyz";
    Bytes data(length);
    for (uint8_t& b : data) {
        const auto pick = static_cast<uint32_t>(random());
        const uint32_t kind = pick % 10;
        const uint32_t value = pick >> 8;
        switch (scheme) {
            case ECC200_SCHEME_EDIFACT:
                b = static_cast<uint8_t>(32 + value % 63);
                break;
            case ECC200_SCHEME_X12:
                b = static_cast<uint8_t>(kX12[value % kX12.size()]);
                break;
            case ECC200_SCHEME_C40:
            case ECC200_SCHEME_TEXT: {
                const std::string& main = scheme == ECC200_SCHEME_C40 ? kUpper : kLower;
                b = kind < 8 ? static_cast<uint8_t>(main[value % main.size()])
                             : static_cast<uint8_t>(value % 256);
                break;
            }
            case ECC200_SCHEME_AUTO:
                // Runs of digits, capitals, lower case and arbitrary bytes to make it switch.
                if (kind < 3) {
                    b = static_cast<uint8_t>('0' + value % 10);
                } else if (kind < 6) {
                    b = static_cast<uint8_t>(kUpper[value % kUpper.size()]);
                } else if (kind < 8) {
                    b = static_cast<uint8_t>(kLower[value % kLower.size()]);
                } else {
                    b = static_cast<uint8_t>(value % 256);
                }
                break;
            default:
                b = static_cast<uint8_t>(value % 256);
        }
    }
    return data;
}

SymbolPtr SymbolWith(int32_t scheme, int32_t size, const Bytes& data) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(SetScheme_ECC200(handle.get(), scheme), 0);
    EXPECT_EQ(SetDimension_ECC200(handle.get(), size), 0);
    EXPECT_EQ(
        SetDataToEncoding_ECC200(handle.get(), data.data(), static_cast<int32_t>(data.size())), 0);
    return handle;
}

int32_t EncodeStatus(int32_t scheme, int32_t size, const Bytes& data) {
    const SymbolPtr handle = SymbolWith(scheme, size, data);
    uint8_t modules[ECC200_MAX_MODULES];
    return WriteEncodedSymbolToBuf_ECC200(handle.get(), modules, ECC200_MAX_MODULES);
}

// The longest prefix of pool that still encodes in the size (pool itself must not fit).
std::size_t LongestFittingPrefix(int32_t scheme, int32_t size, const Bytes& pool) {
    std::size_t fits = 0;
    std::size_t fails = pool.size();
    while (fails - fits > 1) {
        const std::size_t middle = (fits + fails) / 2;
        const Bytes prefix(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(middle));
        if (EncodeStatus(scheme, size, prefix) == 0) {
            fits = middle;
        } else {
            fails = middle;
        }
    }
    return fits;
}

// Reads the symbol back from the module buffer; returns what the reader decoded.
std::optional<Bytes> ReadFromBuffer(SymbolHandle handle, int32_t& status) {
    const Bytes modules = testing::EncodeToModules(handle, status);
    if (status != 0) return std::nullopt;
    return testing::DecodePicture(testing::RenderModules(modules, testing::ExtentOf(handle)));
}

// Reads the symbol back from a BMP file that the library wrote.
std::optional<Bytes> ReadFromBmp(SymbolHandle handle, int32_t& status) {
    ScratchDirectory directory;
    status = WriteEncodedSymbolToBMP_ECC200(handle, 2, 8, "symbol.bmp");
    if (status != 0) return std::nullopt;
    const auto picture = testing::ParseGreyBmp(testing::ReadWholeFile("symbol.bmp"));
    if (!picture) return Bytes{};
    return testing::DecodePicture(*picture);
}

void ExpectReadBack(int32_t scheme, int32_t size, const Bytes& data, bool viaBmp) {
    SCOPED_TRACE("scheme " + std::to_string(scheme) + ", size " + SizeName(size) + ", " +
                 std::to_string(data.size()) + " bytes: \"" + Printable(data) + "\"");
    const SymbolPtr handle = SymbolWith(scheme, size, data);
    int32_t status = -1;
    const std::optional<Bytes> read = ReadFromBuffer(handle.get(), status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(read.has_value()) << "the reader found no symbol";
    EXPECT_EQ(Printable(*read), Printable(data));
    if (!viaBmp) return;
    const std::optional<Bytes> fromFile = ReadFromBmp(handle.get(), status);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(fromFile.has_value()) << "the reader found no symbol in the BMP file";
    EXPECT_EQ(Printable(*fromFile), Printable(data));
}

struct SizeScheme {
    int32_t size;
    int32_t scheme;
};

class EverySizeAndScheme : public ::testing::TestWithParam<SizeScheme> {};

Bytes Prefix(const Bytes& pool, std::size_t length) {
    return Bytes(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(length));
}

// Random data of the scheme's byte class from one byte up to the longest that the size holds,
// each read back from the buffer; the shortest and the longest also from a BMP file.
TEST_P(EverySizeAndScheme, ReadsBackExactly) {
    const auto [size, scheme] = GetParam();
    std::mt19937 random(static_cast<uint32_t>(1000 * size + scheme));
    for (int pool = 0; pool < 2; ++pool) {
        const Bytes data = RandomData(scheme, ECC200_MAX_DATA_LENGTH, random);
        ASSERT_NE(EncodeStatus(scheme, size, data), 0);
        const std::size_t full = LongestFittingPrefix(scheme, size, data);
        ASSERT_GE(full, 1u) << "not even one byte fits";
        if (pool == 1) {
            ExpectReadBack(scheme, size, Prefix(data, full), false);
            continue;
        }
        ExpectReadBack(scheme, size, Prefix(data, 1), true);
        for (std::size_t length :
             {std::size_t{2}, std::size_t{3}, full / 4, full / 2, full * 3 / 4, full - 1}) {
            if (length >= 1 && length < full)
                ExpectReadBack(scheme, size, Prefix(data, length), false);
        }
        ExpectReadBack(scheme, size, Prefix(data, full), true);
    }
}

std::vector<SizeScheme> AllSizesAndSchemes() {
    std::vector<SizeScheme> cases;
    for (int32_t size = 0; size < kSizeCount; ++size) {
        for (int32_t scheme = 0; scheme < kSchemeCount; ++scheme) cases.push_back({size, scheme});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Reader, EverySizeAndScheme, ::testing::ValuesIn(AllSizesAndSchemes()),
                         [](const ::testing::TestParamInfo<SizeScheme>& param) {
                             return std::string("Size") + SizeName(param.param.size) + "_" +
                                    kSchemeNames[param.param.scheme];
                         });

class AutomaticSize : public ::testing::TestWithParam<int32_t> {};

// Random data of the scheme's byte class with the size left to the library, from one byte up to
// the longest that any square size holds.
TEST_P(AutomaticSize, ReadsBackExactly) {
    const int32_t scheme = GetParam();
    std::mt19937 random(static_cast<uint32_t>(77 + scheme));
    const Bytes data = RandomData(scheme, ECC200_MAX_DATA_LENGTH, random);
    std::size_t full = data.size();
    if (EncodeStatus(scheme, ECC200_SIZE_AUTO, data) != 0) {
        full = LongestFittingPrefix(scheme, ECC200_SIZE_AUTO, data);
    }
    for (std::size_t length :
         {std::size_t{1}, std::size_t{4}, std::size_t{11}, std::size_t{29}, std::size_t{70},
          std::size_t{160}, std::size_t{400}, std::size_t{900}}) {
        if (length < full) ExpectReadBack(scheme, ECC200_SIZE_AUTO, Prefix(data, length), false);
    }
    ExpectReadBack(scheme, ECC200_SIZE_AUTO, Prefix(data, full), true);
}

INSTANTIATE_TEST_SUITE_P(Reader, AutomaticSize, ::testing::Range(0, kSchemeCount),
                         [](const ::testing::TestParamInfo<int32_t>& param) {
                             return std::string(kSchemeNames[param.param]);
                         });

struct FieldCase {
    std::string name;
    std::string data;
    int32_t size;  // a fixed size tried besides the automatic one, or -1 for none
};

Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

class FieldCases : public ::testing::TestWithParam<FieldCase> {};

// Every scheme that can carry the input, at automatic size, at the size the report names, and
// in the smallest rectangle that holds it.
TEST_P(FieldCases, ReadBackInEverySchemeThatCarriesThem) {
    const FieldCase& c = GetParam();
    const Bytes data = AsBytes(c.data);
    int32_t carried = 0;
    for (int32_t scheme = 0; scheme < kSchemeCount; ++scheme) {
        const int32_t automatic = EncodeStatus(scheme, ECC200_SIZE_AUTO, data);
        if (automatic == 4 || automatic == 6 || automatic == 17) continue;
        ++carried;
        ExpectReadBack(scheme, ECC200_SIZE_AUTO, data, scheme == 0);
        std::vector<int32_t> fixed;
        if (c.size >= 0) fixed.push_back(c.size);
        for (int32_t rectangle = kSquareSizeCount; rectangle < kSizeCount; ++rectangle) {
            if (EncodeStatus(scheme, rectangle, data) == 0) {
                fixed.push_back(rectangle);
                break;
            }
        }
        for (int32_t size : fixed) {
            const int32_t status = EncodeStatus(scheme, size, data);
            if (status == 1) continue;  // does not fit that size in this scheme
            ExpectReadBack(scheme, size, data, false);
        }
    }
    EXPECT_GE(carried, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, FieldCases,
    ::testing::Values(
        FieldCase{"StarDtcp", "*DTCP01", 0}, FieldCase{"SlashedCode", "*CH/GN1/022/00", -1},
        FieldCase{"TenDigits", "9008123567", -1},
        FieldCase{"LookaheadThenDot", "test TE>240 2 I.E ST>300", -1},
        FieldCase{"AngleBrackets", "<ABCDEFG><ABCDEFGK>", -1},
        FieldCase{"MixedCaseTail", "ABCDEFG?hIjK5-<?L.2)[corrupT", -1},
        FieldCase{"AmpersandsUnderscore", "0&0&0&0&0&0&0_", -1},
        FieldCase{"Ampersands", "0&0&0&0&0&0&0", -1}, FieldCase{"DashesXyz", "-=-1-=-2-=-3xyz", -1},
        FieldCase{"DashesXy", "-=-1-=-2-=-3-xy", -1},
        FieldCase{"Reference", "SD0000-REF-C0-I0", -1}, FieldCase{"HelloWorld", "Hello World!", 27},
        FieldCase{"UnitSeparator", std::string("OH\037CRAP"), -1}, FieldCase{"AGreater", "A>", -1},
        FieldCase{"ABGreater", "AB>", -1}, FieldCase{"Version", "764x 2.0-R20-TIALN", -1},
        FieldCase{"PartNumber", "002K6-24.BTPA.1", -1}, FieldCase{"SixChars", "9HR3Z6", 1},
        FieldCase{"LongMixed", "02900002608229JDZ*9P0AD8AWFRB", -1},
        FieldCase{"Runs", "aaaaabbbbbccccc", 25},
        FieldCase{"Address", "XXXXXXXXX|Xxxxxxx|123 W XXXXXXXX AVE", -1},
        FieldCase{"Umlaut", "Acetylsalicyls\xC3\xA4ure", -1}),
    testing::CaseName{});

}  // namespace
}  // namespace ecc200
