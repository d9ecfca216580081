// Symbols made with the options, read back by an independent reader: the smallest encodation at
// every size with data that drives every scheme, GS1 element strings, ECI designators, the
// automatic shape, and the encodes of the automatic scheme that the smallest encodation mends.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using Bytes = std::vector<uint8_t>;

struct Settings {
    int32_t scheme = ECC200_SCHEME_AUTO;
    int32_t size = ECC200_SIZE_AUTO;
    int32_t encodation = ECC200_ENCODATION_SMALLEST;
    int32_t gs1 = 0;
    int32_t eci = 0;
    int32_t shape = ECC200_SHAPE_SQUARE;
};

struct Encoded {
    int32_t status = -1;
    int32_t size = -1;
    ZXing::Result read;
};

Encoded EncodeAndRead(const Settings& s, const Bytes& data, bool read = true) {
    const testing::SymbolPtr handle = testing::MakeSymbol();
    SymbolHandle h = handle.get();
    EXPECT_EQ(SetScheme_ECC200(h, s.scheme) + SetDimension_ECC200(h, s.size) +
                  SetOption_ECC200(h, ECC200_OPTION_ENCODATION, s.encodation) +
                  SetOption_ECC200(h, ECC200_OPTION_GS1, s.gs1) +
                  SetOption_ECC200(h, ECC200_OPTION_ECI, s.eci) +
                  SetOption_ECC200(h, ECC200_OPTION_SHAPE, s.shape),
              0);
    if (!data.empty()) {
        EXPECT_EQ(SetDataToEncoding_ECC200(h, data.data(), static_cast<int32_t>(data.size())), 0);
    }
    Encoded result;
    const Bytes modules = testing::EncodeToModules(h, result.status);
    result.size = GetDimension_ECC200(h);
    if (read && result.status == 0)
        result.read = testing::DecodeResult(testing::RenderModules(modules, testing::ExtentOf(h)));
    return result;
}

Bytes ReadBytes(const Encoded& e) {
    return {e.read.bytes().begin(), e.read.bytes().end()};
}

// Seeded data of one class; class 6 switches between the others every 1 to 8 bytes.
Bytes RandomData(int32_t kind, std::size_t length, std::mt19937& random) {
    std::string edifact;
    for (char c = 32; c <= 94; ++c) edifact.push_back(c);
    const std::string alphabets[] = {"0123456789", " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                     " 0123456789abcdefghijklmnopqrstuvwxyz",
                                     "\r*> 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", edifact};
    Bytes data;
    int32_t segment = kind, left = 0;
    while (data.size() < length) {
        if (kind == 6 && left-- == 0) {
            segment = static_cast<int32_t>(random() % 6);
            left = static_cast<int32_t>(random() % 8);
        }
        const auto pick = static_cast<uint32_t>(random());
        data.push_back(segment == 5 ? static_cast<uint8_t>(pick)
                                    : static_cast<uint8_t>(
                                          alphabets[segment][pick % alphabets[segment].size()]));
    }
    return data;
}

Bytes Prefix(const Bytes& pool, std::size_t length) {
    return Bytes(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(length));
}

std::size_t LongestFittingPrefix(const Settings& s, const Bytes& pool) {
    std::size_t fits = 0, fails = pool.size() + 1;
    while (fails - fits > 1) {
        const std::size_t middle = (fits + fails) / 2;
        (EncodeAndRead(s, Prefix(pool, middle), false).status == 0 ? fits : fails) = middle;
    }
    return fits;
}

// Parameter: a size, the automatic size, or (kSizeCount) the automatic size of any shape.
class SmallestEverySize : public ::testing::TestWithParam<int32_t> {};

TEST_P(SmallestEverySize, ReadsBackEveryDataClassExactly) {
    const int32_t param = GetParam();
    const Settings s{.size = param == kSizeCount ? ECC200_SIZE_AUTO : param,
                     .shape = param == kSizeCount ? ECC200_SHAPE_ANY : ECC200_SHAPE_SQUARE};
    std::mt19937 random(static_cast<uint32_t>(77 + param));
    for (int32_t kind = 0; kind < 7; ++kind) {
        const Bytes pool = RandomData(kind, ECC200_MAX_DATA_LENGTH, random);
        const std::size_t full = LongestFittingPrefix(s, pool);
        ASSERT_GE(full, 1u);
        for (const std::size_t length :
             {std::size_t{1}, std::size_t{3}, full / 2, full - 1, full}) {
            if (length < 1 || length > full) continue;
            const Bytes data = Prefix(pool, length);
            const Encoded e = EncodeAndRead(s, data);
            ASSERT_EQ(e.status, 0) << kind << " " << length;
            EXPECT_EQ(ReadBytes(e), data) << "class " << kind << ", " << length << " bytes";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Reader, SmallestEverySize, ::testing::Range(-1, kSizeCount + 1),
                         [](const auto& param) {
                             return param.param == kSizeCount ? std::string("anyShape")
                                                              : std::string(SizeName(param.param));
                         });

// Inputs that once broke other encoders, at the automatic sizes and at small fixed ones.
TEST(SmallestReader, FieldCases) {
    for (const std::string input : {"*DTCP01",
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
                                    "Acetylsalicyls\xC3\xA4ure"}) {
        const Bytes data(input.begin(), input.end());
        for (const int32_t size : {-1, 0, 1, 2, 24, 25, 26, 27}) {
            for (const int32_t shape : {ECC200_SHAPE_SQUARE, ECC200_SHAPE_ANY}) {
                const Encoded e = EncodeAndRead({.size = size, .shape = shape}, data);
                if (e.status == 0) {
                    EXPECT_EQ(ReadBytes(e), data) << input << " in " << size;
                }
            }
        }
    }
}

// GS1 element strings read back under symbology identifier ]d2, every separator as GS, in the
// automatic scheme and in every fixed scheme that carries the data.
TEST(Gs1Reader, ElementStringsReadWithSeparators) {
    int readInScheme[7] = {};
    // GS written as \035.
    for (const std::string element :
         {"01095011015300031725010110ABC123", "10ABC123\03521XYZ", "3103000123\035\03510A",
          "21abc-def\03510ab", "8004 * >\03591X12 TEXT"}) {
        const Bytes data(element.begin(), element.end());
        for (int32_t scheme = 0; scheme <= 6; ++scheme) {
            const Encoded e = EncodeAndRead({.scheme = scheme, .gs1 = 1}, data);
            if (scheme != 0 && e.status != 0) continue;
            ++readInScheme[scheme];
            ASSERT_EQ(e.status, 0) << element;
            EXPECT_EQ(e.read.symbologyIdentifier(), "]d2") << element << " scheme " << scheme;
            EXPECT_EQ(ReadBytes(e), data) << element << " scheme " << scheme;
        }
    }
    for (const int read : readInScheme) EXPECT_GT(read, 0);  // every scheme carried some rows
}

// ECI designators of one, two and three codewords; UTF-8 text under ECI 26 reads as its text.
TEST(EciReader, DesignatorsAreRead) {
    const Bytes data = testing::Bytes("Gr\303\274\303\237e 123 ABC");  // UTF-8
    for (const int32_t eci : {26, 3, 899, 16383, 999999}) {
        for (const int32_t encodation : {ECC200_ENCODATION_LOOKAHEAD, ECC200_ENCODATION_SMALLEST}) {
            const Encoded e = EncodeAndRead({.encodation = encodation, .eci = eci}, data);
            ASSERT_EQ(e.status, 0);
            EXPECT_TRUE(e.read.hasECI()) << eci;
            if (eci == 26) {
                EXPECT_EQ(e.read.text(), L"Gr\u00FC\u00DFe 123 ABC");
            }
        }
    }
    EXPECT_EQ(EncodeAndRead({.gs1 = 1, .eci = 26}, data).status, ECC200_ERR_PARAMETER);
    EXPECT_EQ(EncodeAndRead({.gs1 = 1}, testing::Bytes("\03510LOT")).status, ECC200_ERR_PARAMETER);
}

// The automatic shape takes the size of least area (the square on a tie) and the mend makes the
// automatic scheme fit where the look-ahead's stream does not.
TEST(ShapeAndMendReader, SizesAndReadBack) {
    struct Row {
        std::string data;
        Settings settings;
        int32_t size;
    };
    const std::string upper(2333, 'Q');
    const std::vector<Row> rows = {
        {"ABCDEFGHIJKLMNOPQRSTU", {.shape = ECC200_SHAPE_ANY}, ECC200_SIZE_12X26},
        {"12345678", {.shape = ECC200_SHAPE_ANY}, ECC200_SIZE_12X12},
        {"Lot Date", {.size = 2, .encodation = ECC200_ENCODATION_LOOKAHEAD}, 2},
        {"9HR3Z6", {.size = 1, .encodation = ECC200_ENCODATION_LOOKAHEAD}, 1},
        {upper, {.encodation = ECC200_ENCODATION_LOOKAHEAD}, ECC200_SIZE_144X144},
        {"Hello World 123", {}, ECC200_SIZE_16X16},
    };
    for (const Row& row : rows) {
        const Bytes data(row.data.begin(), row.data.end());
        const Encoded e = EncodeAndRead(row.settings, data);
        ASSERT_EQ(e.status, 0) << row.data.substr(0, 20);
        EXPECT_EQ(e.size, row.size) << row.data.substr(0, 20);
        EXPECT_EQ(ReadBytes(e), data) << row.data.substr(0, 20);
    }
}

}  // namespace
}  // namespace ecc200
