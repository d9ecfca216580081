// Data codewords in every form a symbol may use, including those this library's encoders never
// write (structured append, reader programming, macros, ECI of two and three codewords, the
// short EDIFACT unlatch, Base 256 lengths of two codewords), decoded to bytes and flags; and
// streams that no form allows, which must fail rather than give a wrong reading.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "decoding/data_decodation.h"
#include "encodation/packing.h"

namespace ecc200 {
namespace {

struct Decoded {
    bool ok = false;
    std::string data;
    ECC200_Reading reading{};
};

Decoded Decode(const std::vector<uint8_t>& codewords) {
    Decoded d;
    d.reading.eci = -1;
    d.ok = DecodeDataCodewords(codewords.data(), static_cast<int32_t>(codewords.size()), d.reading);
    d.data.assign(reinterpret_cast<const char*>(d.reading.data),
                  static_cast<std::size_t>(d.reading.dataLength));
    return d;
}

// A Base 256 field after `prefix` (which ends with the latch): its length field in the short
// (below 250), long (two codewords) or to-the-end (0) form, then n bytes of i % 256.
std::vector<uint8_t> Base256Field(std::vector<uint8_t> prefix, int32_t n, bool toEnd) {
    std::vector<uint8_t> plain;
    if (toEnd) {
        plain.push_back(0);
    } else if (n < kLongBase256Field) {
        plain.push_back(static_cast<uint8_t>(n));
    } else {
        plain.push_back(static_cast<uint8_t>(249 + n / kLongBase256Field));
        plain.push_back(static_cast<uint8_t>(n % kLongBase256Field));
    }
    for (int32_t i = 0; i < n; ++i) plain.push_back(static_cast<uint8_t>(i));
    for (const uint8_t value : plain) {
        prefix.push_back(RandomiseBase256(value, static_cast<int32_t>(prefix.size()) + 1));
    }
    return prefix;
}

std::string Counting(int32_t n) {
    std::string s;
    for (int32_t i = 0; i < n; ++i) s.push_back(static_cast<char>(i));
    return s;
}

struct FormCase {
    const char* name;
    std::vector<uint8_t> codewords;
    std::string data;
    const char* symbologyId;
    int32_t eci;
};

TEST(CodewordForms, DecodeToTheirBytes) {
    const FormCase cases[] = {
        {"digit pairs", {142, 164, 186}, "123456", "]d1", -1},
        {"upper shift",
         {235, 69, 66},
         "\xC4"
         "A",
         "]d1",
         -1},
        {"pad ends the data", {66, 129, 70, 220}, "A", "]d1", -1},
        {"C40 with unlatch", {230, 89, 191, 254, 66}, "AAAA", "]d1", -1},
        {"C40, one codeword left is ASCII", {230, 89, 191, 66}, "AAAA", "]d1", -1},
        {"C40 shift 3 and upper shift", {230, 12, 170, 189, 177, 129}, "a\xC1", "]d1", -1},
        {"Text", {239, 89, 233}, "abc", "]d1", -1},
        {"X12", {238, 89, 233, 254, 66}, "ABCA", "]d1", -1},
        {"EDIFACT with a one-codeword unlatch",
         {240, 4, 32, 196, 124, 66, 129},
         "ABCDA",
         "]d1",
         -1},
        {"EDIFACT ended by the data", {240, 4, 32, 196, 70}, "ABCDE", "]d1", -1},
        // With two codewords left they are ASCII, even one that could open an unlatch group.
        {"EDIFACT, two codewords left", {240, 4, 32, 196, 124, 66}, "ABCD{A", "]d1", -1},
        {"EDIFACT unlatch after values", {240, 4, 32, 196, 20, 103, 192, 129}, "ABCDEF", "]d1", -1},
        {"Base 256 to the end", {231, 44, 2, 153, 47}, "ABC", "]d1", -1},
        {"Base 256 short length", Base256Field({231}, 3, false), Counting(3), "]d1", -1},
        {"Base 256 long length", Base256Field({66, 231}, 300, false), "A" + Counting(300), "]d1",
         -1},
        {"Base 256 then ASCII",
         [] {
             auto c = Base256Field({231}, 2, false);
             c.push_back(67);
             return c;
         }(),
         std::string("\0\1B", 3), "]d1", -1},
        {"FNC1 first and as separator",
         {232, 66, 232, 67},
         "A\x1D"
         "B",
         "]d2",
         -1},
        {"FNC1 after an application indicator", {66, 232, 67}, "AB", "]d3", -1},
        {"FNC1 after a digit pair indicator", {142, 232, 67}, "12B", "]d3", -1},
        {"FNC1 later",
         {66, 67, 232, 68},
         "AB\x1D"
         "C",
         "]d1",
         -1},
        {"ECI of one codeword", {241, 27, 66}, "A", "]d4", 26},
        {"ECI of two codewords", {241, 147, 48, 66}, "A", "]d4", 5000},
        {"ECI of three codewords", {241, 204, 84, 143, 66}, "A", "]d4", 811799},
        {"two ECIs: the first is reported", {241, 27, 66, 241, 4, 67}, "AB", "]d4", 26},
        {"macro 05",
         {236, 66},
         "[)>\x1E"
         "05\x1D"
         "A\x1E\x04",
         "]d1",
         -1},
        {"macro 06",
         {237, 66, 129},
         "[)>\x1E"
         "06\x1D"
         "A\x1E\x04",
         "]d1",
         -1},
        {"reader programming", {234, 66}, "A", "]d1", -1},
        {"structured append", {233, 44, 17, 42, 66}, "A", "]d1", -1},
        {"structured append with GS1", {233, 44, 17, 42, 232, 66}, "A", "]d2", -1},
        {"empty", {129, 175}, "", "]d1", -1},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = Decode(c.codewords);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.data, c.data);
        EXPECT_EQ(std::string(d.reading.symbologyId), c.symbologyId);
        EXPECT_EQ(d.reading.eci, c.eci);
    }
}

TEST(CodewordForms, OpeningCodewordsSetTheirFields) {
    const Decoded append = Decode({233, 44, 17, 42, 66});
    EXPECT_EQ(std::tuple(append.reading.appendPosition, append.reading.appendCount,
                         append.reading.appendFileId),
              std::tuple(3, 5, 17 * 256 + 42));
    EXPECT_EQ(Decode({234, 66}).reading.readerProgramming, 1);
    EXPECT_EQ(Decode({236, 66}).reading.macro, 5);
    EXPECT_EQ(Decode({237, 66}).reading.macro, 6);
    EXPECT_EQ(Decode({232, 66}).reading.gs1, 1);
    EXPECT_EQ(Decode({66, 232, 66}).reading.gs1, 0);
}

TEST(CodewordForms, InvalidStreamsFail) {
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"codeword 0", {0}},
        {"unused codeword", {66, 242}},
        {"254 in ASCII", {66, 254, 129}},
        {"upper shift at the end", {66, 235}},
        {"upper shift before a digit pair", {235, 130}},
        {"structured append not first", {66, 233, 44, 17, 42}},
        {"structured append cut short", {233, 44, 17}},
        {"structured append of 17 symbols", {233, 0x10, 17, 42, 66}},
        {"structured append position past the count", {233, 0xFE, 17, 42, 66}},
        {"macro not first", {66, 236}},
        {"reader programming not first", {66, 234}},
        {"ECI without designator", {66, 241}},
        {"ECI designator 0", {241, 0, 66}},
        {"ECI cut short", {241, 204, 84}},
        {"C40 pair beyond three values", {230, 253, 255}},
        {"C40 shift 2 value 28", {230, 10, 164}},
        {"C40 upper shift before FNC1", {230, 10, 242, 169, 60}},
        {"Base 256 longer than the data", {231, RandomiseBase256(9, 2), 1}},
        {"Base 256 without length", {66, 231}},
    };
    for (const auto& [name, codewords] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Decode(codewords).ok);
    }
}

}  // namespace
}  // namespace ecc200
