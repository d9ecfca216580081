// Structured append, reader programming and macro 05/06 end to end: the codewords that open the
// stream, what zxing-cpp reports of them, symbol sets that join back into the message, the
// refusals with their messages, and macro symbols no larger than zint's.
#include <gtest/gtest.h>
#include <zint.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "geometry/size_table.h"
#include "reader/reader_support.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

// Options set before the data, in this order; the automatic scheme and size throughout.
using Options = std::vector<std::pair<int32_t, int32_t>>;

// An encode read back, with the message it leaves and the first codewords of its stream.
struct Outcome : testing::Encoded {
    std::string message;
    Bytes prefix;
};

Outcome Encode(const Options& options, const std::string& data, std::size_t prefixLength = 5) {
    const testing::SymbolPtr handle = testing::SymbolWith(ECC200_SCHEME_AUTO, -1, data);
    for (const auto& [option, value] : options)
        EXPECT_EQ(SetOption_ECC200(handle.get(), option, value), 0) << option << " " << value;
    const testing::Encoded encoded = EncodeAndRead(handle.get());
    const Symbol& s = testing::Internals(handle);
    return {encoded, s.message, Bytes(s.codewords, s.codewords + prefixLength)};
}

constexpr int32_t kPosition = ECC200_OPTION_APPEND_POSITION;
constexpr int32_t kCount = ECC200_OPTION_APPEND_COUNT;
constexpr int32_t kFileId = ECC200_OPTION_APPEND_FILE_ID;
constexpr int32_t kProgramming = ECC200_OPTION_READER_PROGRAMMING;

struct PrefixCase {
    const char* name;
    Options options;
    const char* data;
    Bytes prefix;          // the stream's first codewords
    int32_t index, count;  // what the reader reports: 0-based position, count (-1: none)
    const char* id;        // the reader's sequence identifier
    bool readerInit;
    const char* symbologyId;
};

// The header comes first, then FNC1 or the ECI; the sequence indicator packs the position - 1
// above 17 - count.
// clang-format off
const PrefixCase kPrefixCases[] = {
    {"append2of5", {{kPosition, 2}, {kCount, 5}, {kFileId, 0x0102}}, "HELLO",
     {233, 0x1C, 1, 2}, 1, 5, "258", false, "]d1"},
    {"append16of16", {{kPosition, 16}, {kCount, 16}, {kFileId, 0xFEFE}}, "A",
     {233, 0xF1, 254, 254, 66}, 15, 16, "65278", false, "]d1"},
    {"appendGs1", {{kPosition, 1}, {kCount, 2}, {kFileId, 0x4142}, {ECC200_OPTION_GS1, 1}},
     "0109501101530003", {233, 0x0F, 0x41, 0x42, 232}, 0, 2, "16706", false, "]d2"},
    {"appendEci", {{kPosition, 3}, {kCount, 3}, {kFileId, 0x0A0B}, {ECC200_OPTION_ECI, 3}}, "abc",
     {233, 0x2E, 10, 11, 241}, 2, 3, "2571", false, "]d1"},
    {"programming", {{kProgramming, 1}}, "PROG", {234}, -1, -1, "", true, "]d1"},
    {"programmingEci", {{kProgramming, 1}, {ECC200_OPTION_ECI, 26}}, "P", {234, 241, 27}, -1, -1,
     "", true, "]d1"},
};
// clang-format on

TEST(Prefix, OpensTheStreamAndReadsBack) {
    for (const PrefixCase& c : kPrefixCases) {
        SCOPED_TRACE(c.name);
        const Outcome o = Encode(c.options, c.data, c.prefix.size());
        ASSERT_EQ(o.status, 0);
        EXPECT_EQ(o.prefix, c.prefix);
        EXPECT_EQ(std::string(o.read.bytes().begin(), o.read.bytes().end()), c.data);
        EXPECT_EQ(std::tuple(o.read.sequenceIndex(), o.read.sequenceSize(), o.read.sequenceId(),
                             o.read.readerInit(), o.read.symbologyIdentifier()),
                  std::tuple(c.index, c.count, std::string(c.id), c.readerInit,
                             std::string(c.symbologyId)));
    }
}

// A message cut into parts, one symbol each with the same file identifier, joins back to the
// message in the reader, whatever order the symbols are read in.
TEST(StructuredAppend, SetJoinsBackToTheMessage) {
    const std::string message =
        "Structured append carries one message in up to sixteen symbols: 0123456789 "
        "abcdefghijklmnopqrstuvwxyz \x80\xFF and more.";
    for (const int32_t count : {2, 5, 16}) {
        std::vector<ZXing::Result> results;
        const auto cut = [&](int32_t k) {
            return message.size() * static_cast<std::size_t>(k) / static_cast<std::size_t>(count);
        };
        for (int32_t position = count; position >= 1; --position) {
            const std::string piece =
                message.substr(cut(position - 1), cut(position) - cut(position - 1));
            const Outcome o =
                Encode({{kPosition, position}, {kCount, count}, {kFileId, 0x2A01}}, piece);
            ASSERT_EQ(o.status, 0);
            EXPECT_EQ(o.read.sequenceIndex(), position - 1);
            results.push_back(o.read);
        }
        const ZXing::Result joined = ZXing::MergeStructuredAppendSequence(results);
        EXPECT_EQ(std::string(joined.bytes().begin(), joined.bytes().end()), message) << count;
    }
}

constexpr const char kAppendMessage[] =
    "Structured append needs a position 1..count, a count 2..16 and a file identifier";
constexpr const char kProgrammingMessage[] =
    "Reader programming cannot be combined with GS1 or structured append";

// Values outside an option's range are refused by SetOption_ECC200 and keep the setting; options
// that contradict each other fail the encode with 8 and a message that says why.
TEST(StructuredAppend, Refusals) {
    const std::pair<int32_t, int32_t> outOfRange[] = {
        {kPosition, 17},   {kPosition, -1},    {kCount, 1},
        {kCount, 17},      {kFileId, 0x00FF},  {kFileId, 0xFF01},
        {kFileId, 0x0100}, {kFileId, 0x10000}, {kProgramming, 2}};
    for (const auto& [option, value] : outOfRange) {
        const testing::SymbolPtr handle = testing::MakeSymbol();
        EXPECT_EQ(SetOption_ECC200(handle.get(), option, value), 8) << option << " " << value;
        EXPECT_STREQ(testing::Internals(handle).message, "Bug of parameters");
    }
    const struct {
        Options options;
        const char* message;
    } contradictions[] = {
        {{{kPosition, 1}, {kCount, 2}}, kAppendMessage},
        {{{kPosition, 3}, {kCount, 2}, {kFileId, 0x0101}}, kAppendMessage},
        {{{kCount, 2}, {kFileId, 0x0101}}, kAppendMessage},
        {{{kFileId, 0x0101}}, kAppendMessage},
        {{{kProgramming, 1}, {ECC200_OPTION_GS1, 1}}, kProgrammingMessage},
        {{{kProgramming, 1}, {kPosition, 1}, {kCount, 2}, {kFileId, 0x0101}}, kProgrammingMessage},
        {{{ECC200_OPTION_GS1, 1}, {ECC200_OPTION_ECI, 26}}, "Bug of parameters"},
    };
    for (const auto& c : contradictions) {
        const Outcome o = Encode(c.options, "0109501101530003");
        EXPECT_EQ(std::tuple(o.status, o.message, o.size),
                  std::tuple(8, std::string(c.message), -1));
    }
}

// The symbol zint makes of data, with its own choice of scheme and square size.
int32_t ZintArea(const std::string& data) {
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> z(ZBarcode_Create(),
                                                                 ZBarcode_Delete);
    z->symbology = BARCODE_DATAMATRIX;
    z->option_3 = DM_SQUARE;
    if (ZBarcode_Encode(z.get(), reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size())) >= ZINT_ERROR)
        return 0;
    return z->rows * z->width;
}

struct MacroCase {
    std::string data;
    int32_t encodation;
    Options options;
    uint8_t firstCodeword;  // 236 or 237 for a macro
};

const std::string kHeader05 =
                      "[)>\x1E"
                      "05\x1D",
                  kHeader06 =
                      "[)>\x1E"
                      "06\x1D";
const std::string kTrailer = "\x1E\x04";

// Header and trailer become one codeword only in the smallest encodation, for plain data of the
// exact form; the reader restores them, and the symbol is no larger than zint's.
TEST(Macro, HeaderAndTrailerInOneCodeword) {
    constexpr int32_t kSmallest = ECC200_ENCODATION_SMALLEST, kLookahead = 0;
    const MacroCase cases[] = {
        {kHeader05 + "10V12345\x1DP0123-ABC" + kTrailer, kSmallest, {}, 236},
        {kHeader06 + "1JUN123456789A2B4C6D8E" + kTrailer, kSmallest, {}, 237},
        {kHeader05 + kTrailer, kSmallest, {}, 236},  // nothing between them
        {kHeader05 + "12345678901234567890" + kTrailer, kSmallest, {}, 236},
        {kHeader05 + "10V12345" + kTrailer, kLookahead, {}, '[' + 1},
        {kHeader05 + "10V12345" + "\x1E", kSmallest, {}, '[' + 1},
        {"[)>\x1E"
         "07\x1DX" +
             kTrailer,
         kSmallest,
         {},
         '[' + 1},
        {kHeader05 + "ABC" + kTrailer, kSmallest, {{ECC200_OPTION_ECI, 3}}, 241},
        {kHeader05 + "ABC" + kTrailer, kSmallest, {{kProgramming, 1}}, 234},
    };
    for (const MacroCase& c : cases) {
        SCOPED_TRACE(c.data);
        Options options = c.options;
        options.emplace_back(ECC200_OPTION_ENCODATION, c.encodation);
        const Outcome o = Encode(options, c.data, 1);
        ASSERT_EQ(o.status, 0);
        EXPECT_EQ(o.prefix[0], c.firstCodeword);
        EXPECT_EQ(std::string(o.read.bytes().begin(), o.read.bytes().end()), c.data);
        // zint stops on an assertion for a macro with nothing between header and trailer.
        if ((c.firstCodeword == 236 || c.firstCodeword == 237) &&
            c.data.size() > kHeader05.size() + kTrailer.size()) {
            const int32_t area = SizeAt(o.size).symbolRows * SizeAt(o.size).symbolCols;
            EXPECT_LE(area, ZintArea(c.data));
        }
    }
}

}  // namespace
}  // namespace ecc200
