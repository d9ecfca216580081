// Data codewords in the forms a symbol may use, above all those this library's encoders never
// write (structured append, reader programming, macros, two ECIs, the short EDIFACT unlatch, Base
// 256 lengths of two codewords), decoded to bytes and fields; and streams that no form allows,
// which must fail rather than give a wrong reading. Forms our encoder writes (digit pairs, upper
// shift, pads, Text, FNC1 first, ECI of one to three codewords) are read back in the round trip,
// and the reader tests check the encoder writes them right.
#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "decoding/data_decodation.h"
#include "encodation/packing.h"

namespace ecc200 {
namespace {

// 'A', then a Base 256 field of the 300 bytes i % 256 (its length in two codewords).
std::vector<uint8_t> LongBase256Field() {
    std::vector<uint8_t> codewords = {66, 231, RandomiseBase256(249 + 300 / kLongBase256Field, 3),
                                      RandomiseBase256(300 % kLongBase256Field, 4)};
    for (int32_t i = 0; i < 300; ++i) {
        codewords.push_back(RandomiseBase256(static_cast<uint8_t>(i), i + 5));
    }
    return codewords;
}

struct FormCase {
    const char* name;
    std::vector<uint8_t> codewords;
    std::optional<std::string> data;  // nothing: the stream must fail
    const char* symbologyId = "]d1";
    int32_t eci = -1;
    // What the opening codewords announce: append position, count and file, reader programming,
    // the macro.
    std::array<int32_t, 5> opening{};
};

TEST(CodewordForms, DecodeToTheirBytesOrFail) {
    std::string counting(300, '\0');
    for (std::size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<char>(i);
    const FormCase cases[] = {
        {"C40 with unlatch", {230, 89, 191, 254, 66}, "AAAA"},
        {"C40, one codeword left is ASCII", {230, 89, 191, 66}, "AAAA"},
        {"C40 shift 3 and upper shift", {230, 12, 170, 189, 177, 129}, "a\301"},
        {"X12", {238, 89, 233, 254, 66}, "ABCA"},
        {"EDIFACT with a one-codeword unlatch", {240, 4, 32, 196, 124, 66, 129}, "ABCDA"},
        {"EDIFACT ended by the data", {240, 4, 32, 196, 70}, "ABCDE"},
        // With two codewords left they are ASCII, even one that could open an unlatch group.
        {"EDIFACT, two codewords left", {240, 4, 32, 196, 124, 66}, "ABCD{A"},
        {"EDIFACT unlatch after values", {240, 4, 32, 196, 20, 103, 192, 129}, "ABCDEF"},
        {"Base 256 to the end", {231, 44, 2, 153, 47}, "ABC"},
        {"Base 256 short length, then ASCII", {231, 46, 193, 88, 67}, std::string("\0\1B", 3)},
        {"Base 256 long length", LongBase256Field(), "A" + counting},
        {"FNC1 after an application indicator", {66, 232, 67}, "AB", "]d3"},
        {"FNC1 after a digit pair indicator", {142, 232, 67}, "12B", "]d3"},
        {"FNC1 later", {66, 67, 232, 68}, "AB\035C"},
        {"two ECIs: the first is reported", {241, 27, 66, 241, 4, 67}, "AB", "]d4", 26},
        {"macro 05", {236, 66}, "[)>\03605\035A\036\004", "]d1", -1, {0, 0, 0, 0, 5}},
        {"macro 06", {237, 66, 129}, "[)>\03606\035A\036\004", "]d1", -1, {0, 0, 0, 0, 6}},
        {"reader programming", {234, 66}, "A", "]d1", -1, {0, 0, 0, 1, 0}},
        {"structured append", {233, 44, 17, 42, 66}, "A", "]d1", -1, {3, 5, 17 * 256 + 42, 0, 0}},
        {"append with GS1", {233, 44, 17, 42, 232, 66}, "A", "]d2", -1, {3, 5, 4394, 0, 0}},
        {"empty", {129, 175}, ""},
        {"codeword 0", {0}, {}},
        {"unused codeword", {66, 242}, {}},
        {"254 in ASCII", {66, 254, 129}, {}},
        {"upper shift at the end", {66, 235}, {}},
        {"upper shift before a digit pair", {235, 130}, {}},
        {"structured append not first", {66, 233, 44, 17, 42}, {}},
        {"structured append cut short", {233, 44, 17}, {}},
        {"structured append of 17 symbols", {233, 0x10, 17, 42, 66}, {}},
        {"structured append position past the count", {233, 0xFE, 17, 42, 66}, {}},
        {"macro not first", {66, 236}, {}},
        {"reader programming not first", {66, 234}, {}},
        {"ECI without designator", {66, 241}, {}},
        {"ECI designator 0", {241, 0, 66}, {}},
        {"ECI cut short", {241, 204, 84}, {}},
        {"C40 pair beyond three values", {230, 253, 255}, {}},
        {"C40 shift 2 value 28", {230, 10, 164}, {}},
        {"C40 upper shift before FNC1", {230, 10, 242, 169, 60}, {}},
        {"Base 256 longer than the data", {231, RandomiseBase256(9, 2), 1}, {}},
        {"Base 256 without length", {66, 231}, {}},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.name);
        ECC200_Reading r{};
        r.eci = -1;
        const auto length = static_cast<int32_t>(c.codewords.size());
        ASSERT_EQ(DecodeDataCodewords(c.codewords.data(), length, r), c.data.has_value());
        if (!c.data) continue;
        const std::string data(r.data, r.data + r.dataLength);
        const std::array<int32_t, 5> opening = {r.appendPosition, r.appendCount, r.appendFileId,
                                                r.readerProgramming, r.macro};
        // GS1 exactly when FNC1 comes first.
        EXPECT_EQ(std::tuple(data, std::string(r.symbologyId), r.eci, opening, r.gs1),
                  std::tuple(*c.data, c.symbologyId, c.eci, c.opening,
                             std::string(c.symbologyId) == "]d2" ? 1 : 0));
    }
}

}  // namespace
}  // namespace ecc200
