// Each output format of the tool carries exactly the library's symbol: pictures decode back to
// the data, the SVG and the terminal drawing hold the library's module grid.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "ecc200.h"

namespace ecc200_cli_test {
namespace {

struct PictureCase {
    std::string name;
    std::string data;
    std::vector<std::string> extraArgs;
};

void PrintTo(const PictureCase& testCase, std::ostream* out) {
    *out << testCase.name;
}

const std::vector<PictureCase> kPictureCases = {
    {"Text", "Hello, world", {}},
    {"Digits", "0123456789012345678901234567890123456789", {}},
    {"FieldCaseEdifactEnd", "<ABCDEFG><ABCDEFGK>", {}},
    {"FieldCaseRectangle", "Hello World!", {"--size", "16x36"}},
    {"FieldCaseX12", "9008123567", {"--scheme", "x12"}},
    {"Base256Forced", "bytes \x01\x7f\x80\xff", {"--scheme", "base256"}},
    {"LargeModulesNarrowMargin", "module size 7", {"--module-size", "7", "--quiet-zone", "1"}},
    {"SmallModulesWideMargin", "small", {"--module-size", "2", "--quiet-zone", "6"}},
};

class PictureOutput : public ::testing::TestWithParam<std::tuple<PictureCase, std::string>> {};

TEST_P(PictureOutput, DecodesBackToTheData) {
    const auto& [testCase, extension] = GetParam();
    const ScratchDir dir;
    const std::string file = "symbol" + extension;
    std::vector<std::string> args{testCase.data, "-o", file};
    args.insert(args.end(), testCase.extraArgs.begin(), testCase.extraArgs.end());
    const ToolRun run = RunTool(args, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto picture = extension == ".png" ? ReadPng(dir / file) : ReadBmp(dir / file);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(Decode(*picture), testCase.data);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureOutput,
                         ::testing::Combine(::testing::ValuesIn(kPictureCases),
                                            ::testing::Values(".png", ".bmp")),
                         [](const auto& test) {
                             return std::get<0>(test.param).name +
                                    (std::get<1>(test.param) == ".png" ? "Png" : "Bmp");
                         });

// The picture is the symbol's modules scaled up, inside a quiet zone given in modules.
TEST(PictureOutput, PngAndBmpHaveTheSamePixels) {
    const ScratchDir dir;
    const ToolRun run = RunTool(
        {"same pixels", "-o", "a.png", "-o", "a.bmp", "--module-size", "3", "--quiet-zone", "5"},
        dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto png = ReadPng(dir / "a.png");
    const auto bmp = ReadBmp(dir / "a.bmp");
    ASSERT_TRUE(png && bmp);
    const auto grid = LibraryGrid("same pixels", ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO);
    ASSERT_TRUE(grid);
    EXPECT_EQ(png->width, (grid->cols + 10) * 3);
    EXPECT_EQ(png->height, (grid->rows + 10) * 3);
    EXPECT_EQ(png->width, bmp->width);
    EXPECT_EQ(png->height, bmp->height);
    EXPECT_EQ(png->pixels, bmp->pixels);
}

struct GridCase {
    std::string name;
    std::string data;
    int32_t scheme;
    int32_t size;
    std::vector<std::string> args;
};

void PrintTo(const GridCase& testCase, std::ostream* out) {
    *out << testCase.name;
}

const std::vector<GridCase> kGridCases = {
    {"AutoSize", "grid check", ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, {}},
    {"FixedSquare", "grid check", ECC200_SCHEME_AUTO, ECC200_SIZE_32X32, {"--size", "32x32"}},
    {"Rectangle", "AB12", ECC200_SCHEME_AUTO, ECC200_SIZE_8X32, {"--size", "8X32"}},
    {"C40", "C40 TEXT 123", ECC200_SCHEME_C40, ECC200_SIZE_AUTO, {"--scheme", "C40"}},
    {"MultiRegion", std::string(300, 'x'), ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, {}},
};

class GridOutput : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridOutput, SvgPaintsExactlyTheLibraryModules) {
    const GridCase& testCase = GetParam();
    const ScratchDir dir;
    std::vector<std::string> args{testCase.data, "-o", "s.svg", "--quiet-zone", "3"};
    args.insert(args.end(), testCase.args.begin(), testCase.args.end());
    const ToolRun run = RunTool(args, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string svg = ReadFile(dir / "s.svg");
    EXPECT_NE(svg.find("shape-rendering=\"crispEdges\""), std::string::npos);
    const auto painted = GridFromSvg(svg);
    ASSERT_TRUE(painted) << svg;
    const auto inner = StripMargin(*painted, 3);
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner, LibraryGrid(testCase.data, testCase.scheme, testCase.size));
}

TEST_P(GridOutput, TerminalDrawingShowsTheLibraryModules) {
    const GridCase& testCase = GetParam();
    const ScratchDir dir;
    std::vector<std::string> args{testCase.data, "-o", "-"};
    args.insert(args.end(), testCase.args.begin(), testCase.args.end());
    const ToolRun run = RunTool(args, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto drawn = GridFromTerminal(run.out);
    ASSERT_TRUE(drawn) << run.out;
    const auto inner = StripMargin(*drawn, 2);  // the default quiet zone
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner, LibraryGrid(testCase.data, testCase.scheme, testCase.size));
    EXPECT_TRUE(dir.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, GridOutput, ::testing::ValuesIn(kGridCases),
                         [](const auto& test) { return test.param.name; });

// Binary data arrives unchanged from standard input and from a file, NUL and high bytes included.
TEST(BinaryInput, StandardInputAndFileKeepEveryByte) {
    std::string data("\0A\0\xff\x80 \r\n\x7f\xc3\xa4", 11);
    const ScratchDir dir;
    const ToolRun fromStdin = RunTool({"-i", "-", "-o", "stdin.png"}, dir.path(), data);
    ASSERT_EQ(fromStdin.exitCode, 0) << fromStdin.err;
    const auto picture = ReadPng(dir / "stdin.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(Decode(*picture), data);

    WriteFile(dir / "data.bin", data);
    const ToolRun fromFile = RunTool({"--input", "data.bin", "-o", "file.svg"}, dir.path());
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err;
    const auto painted = GridFromSvg(ReadFile(dir / "file.svg"));
    ASSERT_TRUE(painted);
    EXPECT_EQ(StripMargin(*painted, 2), LibraryGrid(data, ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO));
}

TEST(BinaryInput, ArgumentBytesAreTakenAsGiven) {
    const std::string data = "caf\xc3\xa9 \xff\x01";
    const ScratchDir dir;
    const ToolRun run = RunTool({data, "-o", "arg.bmp"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto picture = ReadBmp(dir / "arg.bmp");
    ASSERT_TRUE(picture);
    EXPECT_EQ(Decode(*picture), data);
}

TEST(BinaryInput, LongestDataFromAFileFits) {
    const std::string data(ECC200_MAX_DATA_LENGTH, '7');  // digits pack two to a codeword
    const ScratchDir dir;
    WriteFile(dir / "digits.txt", data);
    const ToolRun run =
        RunTool({"-i", "digits.txt", "-o", "d.png", "--module-size", "2"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto picture = ReadPng(dir / "d.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(Decode(*picture), data);
}

}  // namespace
}  // namespace ecc200_cli_test
