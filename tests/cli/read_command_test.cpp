// `ecc200 read` and `ecc200 verify` run as processes on symbols the tool itself wrote: what they
// print, the JSON keys, and the exit codes for every verdict.
#include <gmock/gmock.h>

#include <sstream>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "tool_run.h"

namespace {

using ecc200::testing::ReadFile;
using ecc200::testing::Tool;
using ecc200::testing::WriteFile;
using ::testing::HasSubstr;

struct Outcome {
    int code = -1;
    std::string out, err;
};

Outcome Invoke(const std::vector<std::string>& args) {
    const int code = Tool(args);
    return {code, ReadFile("run.out"), ReadFile("run.err")};
}

// Encodes with the tool; the file name.
std::string Make(const std::string& name, std::vector<std::string> args) {
    args.insert(args.end(), {"-o", name});
    EXPECT_EQ(Tool(args), 0) << name;
    return name;
}

// Each test in a scratch folder holding user.id, another identity and a damaged PNG.
class ReadCommand : public ::testing::Test {
  protected:
    ReadCommand() {
        WriteFile("user.id", "ACME**00112233445566778899AA-0123456789abcdefABCDEF\n");
        WriteFile("other.id", "ACME**FFEEDDCCBBAA99887766554433-0123456789abcdefABCDEF\n");
        WriteFile("junk.png", "\x89PNG\r\n\x1a\nnot really");
    }
    ecc200::testing::ScratchDirectory dir_;
};

TEST_F(ReadCommand, TextReportOfEachKindOfSymbol) {
    struct Case {
        std::vector<std::string> encode;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{"Hello, reader"},
         {"\"Hello, reader\"", "corrected errors per block: 0",
          "user mark: absent (0 of 1 blocks)"}},
        {{"--gs1", "--gs1-skip-relations", "(10)ABC(21)XYZ"},
         {"GS1: (10)ABC(21)XYZ", "\"10ABC\\x1d21XYZ\""}},
        // The form --gs1 takes: parentheses in a value escaped.
        {{"--gs1", "(01)09501101530003(10)A\\(1\\)"}, {"GS1: (01)09501101530003(10)A\\(1\\)"}},
        {{"--eci", "26", "caf\xc3\xa9"}, {"ECI: 26", "\"caf\\xc3\\xa9\""}},
        {{"--user-mark", "Signed"}, {"user mark: valid (1 of 1 blocks)"}},
        {{"--size", "144x144", "Large"},
         {"144x144 \"Large\"", "corrected errors per block: 0 0 0 0 0 0 0 0 0 0"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string file = Make("s" + std::to_string(i) + ".png", cases[i].encode);
        const Outcome read = Invoke({"read", file});
        EXPECT_EQ(read.code, 0) << file << read.out << read.err;
        for (const std::string& line : cases[i].expected)
            EXPECT_THAT(read.out, HasSubstr(line)) << file;
    }
}

TEST_F(ReadCommand, JsonLinesCarryEveryKey) {
    Make("gs1.png", {"--gs1", "--user-mark", "(01)09501101530003(17)250101"});
    Make("bin.bmp", {"--scheme", "base256", "\xff\xfe"});
    const Outcome read = Invoke({"read", "--json", "gs1.png", "bin.bmp", "junk.png"});
    EXPECT_EQ(read.code, 1);
    std::vector<std::string> lines;
    std::string line;
    for (std::istringstream in(read.out); std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u) << read.out;
    EXPECT_EQ(lines[0],
              "{\"file\":\"gs1.png\",\"status\":\"ok\",\"size\":\"18x18\",\"data_hex\":"
              "\"303130393530313130313533303030333137323530313031\",\"text\":"
              "\"010950110153000317250101\",\"gs1\":true,\"hri\":\"(01)09501101530003(17)250101\","
              "\"eci\":null,\"errors\":[1],\"user_mark\":\"valid\",\"user_mark_blocks\":[1,1],"
              "\"symbology_id\":\"]d2\",\"product_mark\":null,\"reader_programming\":false,"
              "\"macro\":null,\"structured_append\":null,\"located_by\":\"raster\"}");
    EXPECT_THAT(lines[1],
                HasSubstr("\"data_hex\":\"fffe\",\"text\":null,\"gs1\":false,\"hri\":null"));
    EXPECT_THAT(lines[2],
                HasSubstr("{\"file\":\"junk.png\",\"status\":\"unreadable\",\"size\":null"));
    EXPECT_THAT(lines[2], HasSubstr("\"error\":\"damaged PNG file"));
}

TEST_F(ReadCommand, ExitCodesAndVerdicts) {
    Make("plain.png", {"Plain"});
    Make("user.png", {"--user-mark", "Mine"});
    Make("product.png", {"--user-mark", "--product-mark", "P-42", "Secret"});
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string output;  // in standard output, or standard error for usage errors
    };
    const std::vector<Case> cases = {
        {{"read", "plain.png", "user.png"}, 0, "user.png: 12x12 \"Mine\""},
        {{"read", "plain.png", "missing.png"}, 1, "missing.png: unreadable: cannot open"},
        {{"read", "product.png"}, 1, "product.png: unreadable: symbol found (14x14)"},
        {{"read", "--product", "P-42", "product.png"}, 0, "product mark: lifted"},
        {{"read", "--product", "P-43", "product.png"}, 1, "does not decode with this product"},
        {{"read", "--identity", "other.id", "--product", "P-42", "product.png"},
         1,
         "does not decode with this product"},
        {{"verify", "user.png"}, 0, "user.png: verified"},
        {{"verify", "plain.png"}, 1, "plain.png: not verified: no user mark of this identity"},
        {{"verify", "--identity", "other.id", "user.png"}, 1, "no user mark of this identity"},
        {{"verify", "--product", "P-42", "product.png"}, 0, "product.png: verified"},
        {{"verify", "product.png"}, 1, "product.png: not verified: unreadable"},
        {{"verify", "--product", "P-42", "user.png"}, 1, "user.png: not verified: unreadable"},
        {{"verify", "user.png", "plain.png"}, 1, "user.png: verified\nplain.png: not verified"},
        {{"verify", "--identity", "none.id", "user.png"}, 1, "cannot open the identity file"},
        {{"read"}, 2, "files is required"},
        {{"read", "--bogus", "plain.png"}, 2, "--bogus"},
        {{"verify", "--json", "plain.png"}, 2, "--json"},
        {{"read", "--product", "", "plain.png"}, 2, "--product takes 1 to 100 characters"},
    };
    for (const Case& c : cases) {
        const Outcome run = Invoke(c.args);
        EXPECT_EQ(run.code, c.code) << c.args[1] << " " << run.out << run.err;
        EXPECT_THAT(run.out + run.err, HasSubstr(c.output)) << c.args[1];
    }
}

}  // namespace
