// The tool's command line against the hostile cases: data in any place among the options and after
// "--", print sizes no printer or page can hold, and the smaller failures that must be clear.
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "ecc200.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using ecc200::testing::ReadFile;
using ecc200::testing::Shell;
using ecc200::testing::Tool;
using ecc200::testing::WriteFile;
using ::testing::HasSubstr;

class CommandLine : public ::testing::Test {
    ecc200::testing::ScratchDirectory dir_;
};

// Wherever the data stands, and whatever it looks like after "--", the file is the one the plain
// order "DATA -o FILE" writes.
TEST_F(CommandLine, DataIsTakenInAnyOrderAndAfterDoubleDash) {
    const struct {
        std::vector<std::string> args;
        std::string data;
        std::vector<std::string> extra = {};
    } cases[] = {
        {{"-o", "x.png", "Hello"}, "Hello"},
        {{"--gs1", "-o", "x.png", "(01)09501101530003"}, "(01)09501101530003", {"--gs1"}},
        {{"-o", "x.png", "--", "--data-with-dashes"}, "--data-with-dashes"},
        {{"-o", "x.png", "-o", "y.svg", "--", "-o"}, "-o"},
        {{"--module-size", "3", "-o", "x.png", "--", "-i"}, "-i", {"--module-size", "3"}},
        {{"-o", "x.png", "--", "read"}, "read"},  // a command word only counts first
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Tool(c.args), 0) << c.data << ReadFile("run.err");
        std::vector<std::string> plain = {"--", c.data};
        plain.insert(plain.begin(), c.extra.begin(), c.extra.end());
        plain.insert(plain.begin(), {"-o", "reference.png"});
        ASSERT_EQ(Tool(plain), 0) << ReadFile("run.err");
        EXPECT_EQ(ReadFile("x.png"), ReadFile("reference.png")) << c.data;
    }
}

struct Refusal {
    std::vector<std::string> args;
    int code;
    std::string message;  // part of standard error
};

// Settings that cannot make a usable file are refused before anything is written, naming the
// limit: print sizes no printer makes or no page holds, numbers that are not plain millimetres,
// colours without contrast, a batch that would overwrite its input.
TEST_F(CommandLine, RefusalsNameTheLimitAndWriteNothing) {
    const std::string long7(ECC200_MAX_DATA_LENGTH, '7');  // 144x144
    const Refusal cases[] = {
        {{"x", "--xdim", "1e-9", "-o", "a.pdf"},
         2,
         "decimal number of millimetres from 0.05 to 100"},
        {{"x", "--xdim", "0x10", "-o", "a.svg"}, 2, "not '0x10'"},
        {{"x", "--xdim", "inf", "-o", "a.pdf"}, 2, "not 'inf'"},
        {{long7, "--xdim", "100", "-o", "a.pdf"}, 2, "the most a page may be is 14400 points"},
        {{long7, "--xdim", "35", "-o", "a.svg", "-o", "a.eps"},
         2,
         "the SVG page would be 14683 points"},
        {{"x", "--dpi", "1", "--module-size", "50", "-o", "a.svg"}, 2, "14400 points"},
        {{"x", "--dpi", "100000", "-o", "a.pdf"}, 2, "smaller than any printer makes"},
        {{"x", "--fg", "white", "--bg", "white", "-o", "a.png"}, 2, "same luminance"},
        {{"--batch", "out/0002.png", "--output-dir", "out"}, 2, "'out/0002.png' is in the output"},
        {{"--batch", "in.txt", "--output-dir", "/proc/self"}, 3, "cannot write into the output"},
        {{"x", "--user-mark"}, 1, "user.id in the current directory (" /* a folder here */},
    };
    fs::create_directories("out");
    WriteFile("out/0002.png", "a\nb\n");
    WriteFile("in.txt", "a\nb\n");
    fs::create_directory("user.id");
    for (const Refusal& c : cases) {
        EXPECT_EQ(Tool(c.args), c.code) << c.message;
        EXPECT_THAT(ReadFile("run.err"), HasSubstr(c.message)) << c.message;
        for (const char* name : {"a.pdf", "a.svg", "a.eps", "a.png"})
            EXPECT_FALSE(fs::exists(name));
        EXPECT_EQ(ReadFile("out/0002.png"), "a\nb\n");
    }
    EXPECT_THAT(ReadFile("run.err"), ::testing::Not(HasSubstr("its first word")));
}

// The page size limit is the page's: the largest symbol that fits is written.
TEST_F(CommandLine, LargestPageThatFitsIsWritten) {
    // 144x144 and a quiet zone of 2: 148 modules of 34 mm are 14263 points.
    EXPECT_EQ(Tool({std::string(ECC200_MAX_DATA_LENGTH, '7'), "--xdim", "34", "-o", "a.pdf"}), 0)
        << ReadFile("run.err");
    const std::string pdf = ReadFile("a.pdf");
    EXPECT_NE(pdf.find("/MediaBox [0 0 14263.937"), std::string::npos) << pdf.substr(0, 300);
}

// The batch summary names only the files it wrote, not the names of failed lines.
TEST_F(CommandLine, BatchSummaryNamesOnlyWrittenFiles) {
    const std::string tooLong(ECC200_MAX_DATA_LENGTH + 1, 'A');
    for (const auto& [lines, summary] :
         {std::pair{"a\n" + tooLong + "\nb\n" + tooLong,
                    "2 of 4 lines encoded into g (0001.png .. 0003.png)\n"},
          {"a\n" + tooLong, "1 of 2 lines encoded into g (0001.png)\n"}}) {
        fs::remove_all("g");
        WriteFile("lines.txt", lines + "\n");
        EXPECT_EQ(Tool({"--batch", "-", "--output-dir", "g"}, "<lines.txt"), 1);
        EXPECT_THAT(ReadFile("run.out"), HasSubstr(summary));
    }
}

}  // namespace

namespace {

#ifdef ECC200_SANITIZED
constexpr bool kMeasuresMemory = false;
#else
constexpr bool kMeasuresMemory = true;
#endif

// The most memory a child process run through the shell held at once, in kilobytes.
long PeakKilobytes(const std::string& script) {
    const pid_t child = fork();
    if (child == 0) {
        Shell(script);
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        WriteFile("peak", std::to_string(usage.ru_maxrss));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return std::stol(ReadFile("peak"));
}

// A batch holds a bounded amount whatever its input: a stream longer than the read-ahead is read
// as its lines are taken (and named with a fixed width, as they cannot be counted first), and
// --jobs is lowered so that the pictures in progress stay within a fixed budget.
TEST_F(CommandLine, BatchMemoryIsBounded) {
    const std::string tool = ecc200::testing::ToolCommand();
    // 135 MB of lines that X12 refuses at once, between two it encodes.
    const long streamed = PeakKilobytes(
        "{ echo ABC; yes $(printf \"a%.0s\" $(seq 3000)) | head -n 45000; echo XYZ; } "
        "| " +
        tool + " --batch - --output-dir s --scheme x12 --format svg --jobs 2");
    EXPECT_LT(kMeasuresMemory ? streamed : 0, 80000);
    EXPECT_THAT(ReadFile("run.out"), HasSubstr("2 of 45002 lines encoded into s (00000001.svg .."));
    EXPECT_TRUE(fs::exists("s/00045002.svg"));
    // 16 symbols of 144x144 as PNG of 12200 x 12200 pixels, 16 jobs asked for.
    WriteFile("big.txt", [] {
        std::string lines;
        for (int i = 0; i < 16; ++i) lines += std::string(ECC200_MAX_DATA_LENGTH, '7') + "\n";
        return lines;
    }());
    const long pictures = PeakKilobytes(tool +
                                        " --batch big.txt --output-dir p --jobs 256 "
                                        "--module-size 50 --quiet-zone 50");
    EXPECT_LT(kMeasuresMemory ? pictures : 0, 400000);
    EXPECT_THAT(ReadFile("run.out"), HasSubstr("16 of 16 lines encoded"));
}

}  // namespace

namespace {

// A CSV batch names each file from its row: quoted fields keep commas, quotes and line ends as
// data; a name that would leave the folder, a hidden one, a repeated one (in any case) or a row
// without the columns fails that row alone, and the other rows are written.
TEST_F(CommandLine, CsvBatchNamesFilesFromRows) {
    WriteFile("labels.csv",
              "a1,\"Hello, world\"\r\n"
              "\"b\"\"2\",\"two\nlines \"\"quoted\"\"\"\n"
              "../x,up\n"
              "/etc/x,absolute\n"
              ".hidden,dot\n"
              "A1,again\n"
              "c3\n"
              "d4.SVG,x,extra\n"
              "e5,\"open\n");
    EXPECT_EQ(Tool({"--batch", "labels.csv", "--name-column", "1", "--data-column", "2",
                    "--output-dir", "out", "--format", "svg"}),
              1);
    EXPECT_THAT(ReadFile("run.out"), HasSubstr("3 of 9 rows encoded into out (a1.svg .. d4.SVG)"));
    const std::string err = ReadFile("run.err");
    for (const char* failure :
         {"row 3: the name '../x.svg' would leave the output folder",
          "row 4: the name '/etc/x.svg' would leave", "row 5: the name '.hidden.svg' is empty or",
          "row 6: the name 'A1.svg' was given by an earlier row",
          "row 7: the row has 1 field; column 2 is asked for",
          "row 9: the row is not valid CSV: the input ends inside a quoted field"})
        EXPECT_THAT(err, HasSubstr(failure));
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("out")) names.insert(entry.path().filename());
    EXPECT_THAT(names, ::testing::ElementsAre("a1.svg", "b\"2.svg", "d4.SVG"));
    EXPECT_FALSE(fs::exists("x.svg"));
    for (const auto& [file, data] : {std::pair{"a1.svg", "Hello, world"},
                                     {"b\"2.svg", "two\nlines \"quoted\""},
                                     {"d4.SVG", "x"}}) {
        WriteFile("data.bin", data);
        ASSERT_EQ(Tool({"-i", "data.bin", "-o", "reference.svg"}), 0);
        EXPECT_EQ(ReadFile(fs::path("out") / file), ReadFile("reference.svg")) << file;
    }
}

}  // namespace
