// Every way the tool can fail: the exit code, a one-line message that names the cause, and no
// file left behind.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "ecc200.h"

namespace ecc200_cli_test {
namespace {

constexpr int kSymbolFailed = 1;
constexpr int kUsage = 2;
constexpr int kFileError = 3;

constexpr const char kGoodIdentity[] = "ACME**00112233445566778899AA-0123456789abcdefABCDEF\n";

struct ErrorCase {
    std::string name;
    std::vector<std::string> args;
    int exitCode;
    std::string message;          // expected part of standard error
    std::string stdinBytes = "";  // fed to standard input
    std::string identity = "";    // content of user.id; none when empty
    std::string inputFile = "";   // content of input.bin
};

void PrintTo(const ErrorCase& testCase, std::ostream* out) {
    *out << testCase.name;
}

const std::vector<ErrorCase> kErrorCases = {
    // The command line is wrong.
    {"NoData", {"-o", "x.png"}, kUsage, "no data given"},
    {"UnknownOption", {"--colour", "x"}, kUsage, "--colour"},
    {"UnknownSize", {"x", "--size", "11x11"}, kUsage, "11x11"},
    {"UnknownScheme", {"x", "--scheme", "morse"}, kUsage, "morse"},
    {"ModuleSizeZero", {"x", "--module-size", "0"}, kUsage, "--module-size"},
    {"QuietZoneNegative", {"x", "--quiet-zone", "-1"}, kUsage, "--quiet-zone"},
    {"UnknownExtension", {"x", "-o", "x.jpg"}, kUsage, "cannot tell the format of 'x.jpg'"},
    {"DataAndInput", {"x", "-i", "input.bin"}, kUsage, "excludes --input"},
    {"BatchWithoutFolder", {"--batch", "lines.txt"}, kUsage, "--output-dir"},
    {"FolderWithoutBatch", {"x", "--output-dir", "out"}, kUsage, "--batch"},
    {"TwoDataArguments", {"x", "y"}, kUsage, "y"},
    // The data and settings do not make a symbol.
    {"EmptyArgument", {"", "-o", "x.png"}, kSymbolFailed, "the data is empty; pass --allow-empty"},
    {"EmptyStandardInput", {"-i", "-", "-o", "x.png"}, kSymbolFailed, "the data is empty"},
    {"FixedSizeTooSmall",
     {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "--size", "10x10", "-o", "x.png"},
     kSymbolFailed,
     "the data does not fit 10x10; the smallest square size that holds it is "},
    {"RectangleTooSmall",
     {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "--size", "8x18", "-o", "x.png"},
     kSymbolFailed,
     "the data does not fit 8x18; the smallest rectangular size that holds it is "},
    {"TooLongForEverySize",
     {"-i", "input.bin", "-o", "x.png"},
     kSymbolFailed,
     "the data is too long for every size",
     "",
     "",
     std::string(3000, '\xe9')},
    {"LongerThanAnySymbolTakes",
     {"-i", "input.bin", "-o", "x.png"},
     kSymbolFailed,
     "longer than 3116 bytes",
     "",
     "",
     std::string(ECC200_MAX_DATA_LENGTH + 1, '1')},
    {"X12Byte",
     {"AB-12", "--scheme", "x12", "-o", "x.png"},
     kSymbolFailed,
     "the ANSI X12 scheme cannot encode '-' (byte 45) at position 3"},
    {"EdifactByte",
     {"ABc", "--scheme", "edifact", "-o", "x.png"},
     kSymbolFailed,
     "the EDIFACT scheme cannot encode 'c' (byte 99) at position 3"},
    {"EdifactControlByte",
     {"-i", "-", "--scheme", "edifact", "-o", "x.png"},
     kSymbolFailed,
     "byte 0x1F at position 3",
     std::string("OH\x1f"
                 "CRAP")},
    {"Base256Empty",
     {"", "--allow-empty", "--scheme", "base256", "-o", "x.png"},
     kSymbolFailed,
     "the Base 256 scheme needs at least one byte"},
    {"UserMarkWithoutIdentity",
     {"x", "--user-mark", "-o", "x.png"},
     kSymbolFailed,
     "the user mark needs the identity file user.id in the current directory"},
    {"ProductMarkWithoutIdentity",
     {"x", "--product-mark", "P1", "-o", "x.png"},
     kSymbolFailed,
     "the product mark needs the identity file user.id"},
    {"IdentityWithOneStar",
     {"x", "--user-mark", "-o", "x.png"},
     kSymbolFailed,
     "cannot use user.id",
     "",
     "ACME*00112233445566778899AA-0123456789abcdefABCDEF"},
    {"IdentityOnlyWhiteSpace",
     {"x", "--user-mark", "-o", "x.png"},
     kSymbolFailed,
     "cannot use user.id",
     "",
     " \n\t\n"},
    {"ProductIdTooLong",
     {"x", "--product-mark", std::string(ECC200_MAX_PRODUCT_ID + 1, 'p'), "-o", "x.png"},
     kSymbolFailed,
     "the product identifier must be 1 to 100 characters",
     "",
     kGoodIdentity},
    {"ProductIdEmpty",
     {"x", "--product-mark", "", "-o", "x.png"},
     kSymbolFailed,
     "the product identifier must be 1 to 100 characters",
     "",
     kGoodIdentity},
    // Files.
    {"MissingInputFile",
     {"-i", "nowhere.bin", "-o", "x.png"},
     kFileError,
     "cannot read 'nowhere.bin'"},
    {"InputIsAFolder", {"-i", ".", "-o", "x.png"}, kFileError, "cannot read '.'"},
    {"OutputFolderMissing",
     {"x", "-o", "missing/x.png"},
     kFileError,
     "cannot write 'missing/x.png'"},
    {"BmpFolderMissing", {"x", "-o", "missing/x.bmp"}, kFileError, "cannot write 'missing/x.bmp'"},
    {"MissingBatchFile",
     {"--batch", "none.txt", "--output-dir", "out"},
     kFileError,
     "cannot read 'none.txt'"},
};

class ToolErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ToolErrors, ExitCodeAndOneLineMessage) {
    const ErrorCase& testCase = GetParam();
    const ScratchDir dir;
    if (!testCase.identity.empty()) WriteFile(dir / "user.id", testCase.identity);
    if (!testCase.inputFile.empty()) WriteFile(dir / "input.bin", testCase.inputFile);
    const auto before = dir.Entries();

    const ToolRun run = RunTool(testCase.args, dir.path(), testCase.stdinBytes);

    EXPECT_EQ(run.exitCode, testCase.exitCode) << run.err;
    EXPECT_NE(run.err.find(testCase.message), std::string::npos) << run.err;
    if (testCase.exitCode != kUsage) {
        EXPECT_EQ(run.err.rfind("ecc200: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    EXPECT_EQ(dir.Entries(), before) << "the failed run left files behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolErrors, ::testing::ValuesIn(kErrorCases),
                         [](const auto& test) { return test.param.name; });

// The size suggested after a failure is the one the library picks on its own.
TEST(ToolErrors, SuggestedSizeHoldsTheData) {
    const std::string data = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const ScratchDir dir;
    const ToolRun run = RunTool({data, "--size", "10x10"}, dir.path());
    const auto grid = LibraryGrid(data, ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO);
    ASSERT_TRUE(grid);
    const std::string name = std::to_string(grid->rows) + "x" + std::to_string(grid->cols);
    EXPECT_NE(run.err.find("holds it is " + name + "\n"), std::string::npos) << run.err;
}

// A failure after some outputs were written keeps those complete; an existing file that the
// failed output would have replaced stays as it was.
TEST(ToolErrors, FailedRunKeepsExistingFilesIntact) {
    const ScratchDir dir;
    WriteFile(dir / "old.png", "previous content");
    const ToolRun run =
        RunTool({std::string(100, 'A'), "--size", "12x12", "-o", "old.png"}, dir.path());
    EXPECT_EQ(run.exitCode, kSymbolFailed);
    EXPECT_EQ(ReadFile(dir / "old.png"), "previous content");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old.png"});
}

TEST(ToolErrors, UnwritableSecondOutputLeavesNoPartialFile) {
    const ScratchDir dir;
    std::filesystem::create_directory(dir / "taken.svg");  // a folder where the file should go
    const ToolRun run = RunTool({"x", "-o", "ok.png", "-o", "taken.svg"}, dir.path());
    EXPECT_EQ(run.exitCode, kFileError);
    EXPECT_NE(run.err.find("cannot write 'taken.svg'"), std::string::npos) << run.err;
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"ok.png", "taken.svg"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "taken.svg"));
}

}  // namespace
}  // namespace ecc200_cli_test
