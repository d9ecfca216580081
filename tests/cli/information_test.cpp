// What the tool tells about itself and about the symbol it made, and the marks.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_test_support.h"

namespace ecc200_cli_test {
namespace {

TEST(Information, InfoNamesSizeCapacityAndScheme) {
    const ScratchDir dir;
    const ToolRun automatic = RunTool({"123456", "--info"}, dir.path());
    ASSERT_EQ(automatic.exitCode, 0) << automatic.err;
    EXPECT_EQ(automatic.out,
              "size: 10x10 (10 rows x 10 columns, chosen automatically)\n"
              "capacity: 3 data codewords\n"
              "scheme requested: automatic\n"
              "data: 6 bytes\n");
    EXPECT_TRUE(dir.Entries().empty());

    const ToolRun fixed =
        RunTool({"AB", "--info", "--size", "16x48", "--scheme", "c40"}, dir.path());
    ASSERT_EQ(fixed.exitCode, 0) << fixed.err;
    EXPECT_NE(fixed.out.find("size: 16x48 (16 rows x 48 columns, as requested)\n"
                             "capacity: 49 data codewords\nscheme requested: C40\n"),
              std::string::npos)
        << fixed.out;
}

TEST(Information, InfoWithPrintAlsoDrawsTheSymbol) {
    const ScratchDir dir;
    const ToolRun run = RunTool({"123456", "--info", "--print"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::size_t drawing = run.out.find("data: 6 bytes\n") + 14;
    const auto grid = GridFromTerminal(run.out.substr(drawing));
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rows, 14);  // 10 rows and the quiet zone
}

TEST(Information, TerminalIsDrawnOnceWhenAskedTwice) {
    const ScratchDir dir;
    const ToolRun once = RunTool({"twice"}, dir.path());
    const ToolRun twice = RunTool({"twice", "-o", "-", "--print"}, dir.path());
    ASSERT_EQ(twice.exitCode, 0) << twice.err;
    EXPECT_EQ(twice.out, once.out);
}

TEST(Information, VersionListAndHelp) {
    const ScratchDir dir;
    const ToolRun version = RunTool({"--version"}, dir.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("ecc200 tool ", 0), 0u) << version.out;
    EXPECT_NE(version.out.find(", library 21.10\n"), std::string::npos) << version.out;

    const ToolRun sizes = RunTool({"--list-sizes"}, dir.path());
    EXPECT_EQ(sizes.exitCode, 0);
    EXPECT_EQ(std::count(sizes.out.begin(), sizes.out.end(), '\n'), 31);
    EXPECT_NE(sizes.out.find("\n144x144     144      144            1558  square\n"),
              std::string::npos)
        << sizes.out;
    EXPECT_NE(sizes.out.find("\n16x48        16       48              49  rectangle"),
              std::string::npos)
        << sizes.out;

    const ToolRun help = RunTool({"--help"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Examples:"), std::string::npos);
    EXPECT_NE(help.out.find("--batch"), std::string::npos);
}

// The user mark keeps the symbol readable by any reader; the product mark makes a symbol that
// differs from the plain one.
TEST(Marks, WorkWithAnIdentityInTheCurrentDirectory) {
    const ScratchDir dir;
    WriteFile(dir / "user.id", "ACME**00112233445566778899AA-0123456789abcdefABCDEF\n");
    const ToolRun user = RunTool({"marked data 42", "--user-mark", "-o", "u.png"}, dir.path());
    ASSERT_EQ(user.exitCode, 0) << user.err;
    const auto picture = ReadPng(dir / "u.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(Decode(*picture), "marked data 42");

    const ToolRun plain = RunTool({"marked data 42", "-o", "plain.svg"}, dir.path());
    const ToolRun product =
        RunTool({"marked data 42", "--product-mark", "LOT-7", "-o", "p.svg"}, dir.path());
    ASSERT_EQ(product.exitCode, 0) << product.err;
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(GridFromSvg(ReadFile(dir / "p.svg")), GridFromSvg(ReadFile(dir / "plain.svg")));
}

}  // namespace
}  // namespace ecc200_cli_test
