// Batch mode: one symbol per line, named by zero-padded line number; a failing line is reported
// and makes the run fail, without stopping the other lines.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace ecc200_cli_test {
namespace {

std::optional<std::string> DecodeFile(const std::filesystem::path& path) {
    const auto picture = path.extension() == ".png" ? ReadPng(path) : ReadBmp(path);
    if (!picture) return std::nullopt;
    return Decode(*picture);
}

TEST(Batch, EveryLineBecomesASymbolAndFailuresAreListed) {
    const ScratchDir dir;
    // Line 3 is too long for the fixed size; line 5 is empty; CRLF endings are accepted,
    // and so is a last line without one.
    WriteFile(dir / "lines.txt",
              "SN-0001\r\nSN-0002\nTHIS LINE IS FAR TOO LONG FOR 12x12\n"
              "SN-4\n\nZ9");
    const ToolRun run = RunTool(
        {"--batch", "lines.txt", "--output-dir", "out", "--size", "12x12", "--format", "bmp"},
        dir.path());

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("batch: 4 of 6 lines encoded into out"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("2 lines failed:\n  line 3: the data does not fit 12x12"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("  line 5: the line is empty"), std::string::npos) << run.err;

    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "out")) {
        written.push_back(entry.path().filename().string());
    }
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"0001.bmp", "0002.bmp", "0004.bmp", "0006.bmp"}));
    EXPECT_EQ(DecodeFile(dir.path() / "out" / "0001.bmp"), "SN-0001");
    EXPECT_EQ(DecodeFile(dir.path() / "out" / "0002.bmp"), "SN-0002");
    EXPECT_EQ(DecodeFile(dir.path() / "out" / "0004.bmp"), "SN-4");
    EXPECT_EQ(DecodeFile(dir.path() / "out" / "0006.bmp"), "Z9");
}

// The same symbol object serves every line: settings and data of one line never leak into the
// next, whatever their order.
TEST(Batch, LinesMatchSingleRunsAndNamesGrowWithTheLineCount) {
    const ScratchDir dir;
    std::string lines;
    for (int i = 1; i <= 10001; ++i) {
        if (i == 2 || i == 10001)
            lines += std::string(200, 'L') + std::to_string(i) + "\n";
        else if (i <= 3)
            lines += "x" + std::to_string(i) + "\n";
        else
            lines += "\n";
    }
    const ToolRun run =
        RunTool({"--batch", "-", "--output-dir", "many", "--format", "svg", "--allow-empty"},
                dir.path(), lines);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("(00001.svg .. 10001.svg)"), std::string::npos) << run.out;
    for (const auto& [line, data] : std::vector<std::pair<std::string, std::string>>{
             {"00001", "x1"},
             {"00002", std::string(200, 'L') + "2"},
             {"00003", "x3"},
             {"10001", std::string(200, 'L') + "10001"}}) {
        const auto painted = GridFromSvg(ReadFile(dir.path() / "many" / (line + ".svg")));
        ASSERT_TRUE(painted) << line;
        EXPECT_EQ(StripMargin(*painted, 2), LibraryGrid(data, 0, -1)) << line;
    }
}

TEST(Batch, UnusableOutputFolderStopsTheRun) {
    const ScratchDir dir;
    WriteFile(dir / "lines.txt", "a\n");
    WriteFile(dir / "file", "");
    const ToolRun run = RunTool({"--batch", "lines.txt", "--output-dir", "file"}, dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("cannot use the output folder 'file'"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace ecc200_cli_test
