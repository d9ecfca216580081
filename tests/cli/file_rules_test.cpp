// The tool's files against the hostile cases: replaced files keep their mode, owner and links
// as the library's own BMP writer keeps them, and a run stopped by any signal leaves only
// complete files and no temporary one.
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../support/test_support.h"
#include "ecc200.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using ecc200::testing::ReadFile;
using ecc200::testing::Shell;
using ecc200::testing::WriteFile;

const std::string kTool = ecc200::testing::ToolCommand();

struct stat Status(const char* path) {
    struct stat status {};
    EXPECT_EQ(lstat(path, &status), 0) << path;
    return status;
}

std::vector<std::string> HiddenFiles() {
    std::vector<std::string> hidden;
    for (const auto& entry : fs::recursive_directory_iterator("."))
        if (entry.path().filename().string()[0] == '.') hidden.push_back(entry.path().string());
    return hidden;
}

class FileRules : public ::testing::Test {
    ecc200::testing::ScratchDirectory dir_;
};

// Every output format, and the library's BMP export beside them: the replaced file keeps its
// permission bits (and, where the process may set it, its owner), a link is followed and stays a
// link, and the folder holds no temporary file afterwards.
TEST_F(FileRules, ReplacedFilesKeepModeOwnerAndLinks) {
    const bool root = geteuid() == 0;
    for (const char* extension : {"png", "bmp", "svg", "pdf", "eps", "library.bmp"}) {
        const std::string kept = std::string("kept.") + extension,
                          real = std::string("real.") + extension,
                          link = std::string("link.") + extension;
        for (const std::string& name : {kept, real}) WriteFile(name, "old");
        ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
        ASSERT_TRUE(!root || chown(kept.c_str(), 4321, 8765) == 0);
        fs::create_symlink(real, link);
        if (std::string(extension) == "library.bmp") {
            const auto symbol = ecc200::testing::SymbolWith(0, -1, "LOT");
            for (const std::string& name : {kept, link})
                ASSERT_EQ(WriteEncodedSymbolToBMP_ECC200(symbol.get(), 2, 2, name.c_str()), 0);
        } else {
            ASSERT_EQ(Shell(kTool + " LOT -o " + kept + " -o " + link), 0) << ReadFile("run.err");
        }
        const struct stat status = Status(kept.c_str());
        EXPECT_EQ(status.st_mode & 07777, 0640u) << extension;
        EXPECT_EQ(root ? std::pair(status.st_uid, status.st_gid) : std::pair(4321u, 8765u),
                  std::pair(4321u, 8765u));
        EXPECT_TRUE(S_ISLNK(Status(link.c_str()).st_mode)) << extension;
        EXPECT_NE(ReadFile(real), "old") << extension;
        EXPECT_EQ(ReadFile(real), ReadFile(kept)) << extension;
    }
    EXPECT_THAT(HiddenFiles(), ::testing::IsEmpty());
}

int32_t FillWith(const char* path, void* context) {
    std::ofstream(path, std::ios::binary) << *static_cast<const std::string*>(context);
    return 1;
}

int32_t FailHalfway(const char* path, void* /*context*/) {
    std::ofstream(path, std::ios::binary) << "half";
    return 0;
}

// The library's replacement export, as the tool uses it: a failed filling leaves the old file
// (through a link too), a good one replaces the file the link names.
TEST_F(FileRules, ReplacementExportKeepsTheOldFileOnFailure) {
    WriteFile("real.txt", "old");
    fs::create_symlink("real.txt", "link.txt");
    std::string text = "new";
    EXPECT_EQ(WriteFileReplacing_ECC200("link.txt", FailHalfway, nullptr), ECC200_ERR_INTERNAL);
    EXPECT_EQ(ReadFile("real.txt"), "old");
    EXPECT_EQ(WriteFileReplacing_ECC200("missing/x.txt", FillWith, &text), ECC200_ERR_INTERNAL);
    EXPECT_EQ(WriteFileReplacing_ECC200(nullptr, FillWith, &text), ECC200_ERR_PARAMETER);
    EXPECT_EQ(WriteFileReplacing_ECC200("x.txt", nullptr, &text), ECC200_ERR_PARAMETER);
    EXPECT_EQ(WriteFileReplacing_ECC200("link.txt", FillWith, &text), ECC200_OK);
    EXPECT_EQ(ReadFile("real.txt"), "new");
    EXPECT_TRUE(fs::is_symlink("link.txt"));
    EXPECT_THAT(HiddenFiles(), ::testing::IsEmpty());
}

// A single run stopped by any of the signals that would end it finishes the file in progress,
// writes no other, leaves no temporary file and exits with 128 + the signal's number.
TEST_F(FileRules, InterruptedSingleRunLeavesNoTemporaryFile) {
    WriteFile("big.txt", std::string(ECC200_MAX_DATA_LENGTH, '7'));
    std::string outputs;
    for (int i = 0; i < 8; ++i)
        outputs += " -o big" + std::to_string(i) + (i % 2 ? ".png" : ".bmp");
    const std::pair<const char*, int> signals[] = {{"INT", 2},  {"TERM", 15}, {"QUIT", 3},
                                                   {"HUP", 1},  {"USR1", 10}, {"ALRM", 14},
                                                   {"PIPE", 13}};
    for (const auto& [signal, number] : signals) {
        const std::string script =
            kTool + " -i big.txt --module-size 20 --quiet-zone 50" + outputs +
            " 2>tool.err & while ! ls -A | grep -q \"^\\.big\"; do sleep 0.005; done; kill -" +
            signal + " $!; wait $!; echo $? >code";
        ASSERT_EQ(Shell(script), 0) << ReadFile("run.err");
        EXPECT_EQ(std::stoi(ReadFile("code")), 128 + number) << signal;
        // A closed pipe ends the tool silently, as it ends any filter.
        EXPECT_EQ(ReadFile("tool.err").find("ecc200: interrupted by signal") == std::string::npos,
                  number == 13)
            << signal;
        EXPECT_THAT(HiddenFiles(), ::testing::IsEmpty()) << signal;
        EXPECT_FALSE(fs::exists("big7.png")) << signal;
        for (int i = 0; i < 8; ++i)
            fs::remove("big" + std::to_string(i) + (i % 2 ? ".png" : ".bmp"));
    }
}

}  // namespace
