// The man page and the bash completion against the tool's own help: every option of the help is
// in both and neither has one the tool lacks; the completion completes options and values.
#include <gmock/gmock.h>

#include <cctype>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../support/test_support.h"
#include "tool_run.h"

namespace {

using ecc200::testing::ReadFile;
using ecc200::testing::Shell;
using ecc200::testing::WriteFile;
using ::testing::HasSubstr;

const std::string kManPage = std::string(ECC200_SOURCE_DIR) + "/docs/ecc200.1";
const std::string kCompletion = std::string(ECC200_SOURCE_DIR) + "/cli/completion/ecc200.bash";

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::set<std::string> WordSet(const std::string& text) {
    const std::vector<std::string> words = Words(text);
    return {words.begin(), words.end()};
}

bool IsOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' &&
           (std::isalnum(static_cast<unsigned char>(word[1])) != 0 || word[1] == '-');
}

// The options the help lists in its "Options:" part (not its examples): the first word of every
// line there that starts with a dash. `command` is "" for encoding, or "read" or "verify".
std::set<std::string> HelpOptions(const std::string& command = "") {
    EXPECT_EQ(command.empty() ? ecc200::testing::Tool({"--help"})
                              : ecc200::testing::Tool({command, "--help"}),
              0);
    std::string help = ReadFile("run.out");
    help = help.substr(help.find("Options:"));
    std::istringstream lines(help.substr(0, help.find("Examples:")));
    std::set<std::string> names;
    for (std::string line, name; std::getline(lines, line);) {
        const auto words = Words(line);  // "-o,--output" names "-o" and "--output"
        if (words.empty() || !IsOption(words[0])) continue;
        for (std::istringstream parts(words[0]); std::getline(parts, name, ',');)
            names.insert(name);
    }
    return names;
}

class Docs : public ::testing::Test {
    ecc200::testing::ScratchDirectory dir_;
};

// The options named by the entries of a man page section (the line after each .TP), short and
// long forms.
std::set<std::string> ManPageEntries(const std::string& section) {
    std::string page = ReadFile(kManPage);
    page = page.substr(page.find(".SH " + section));
    page = page.substr(0, page.find("\n.SH ", 1));
    for (auto at = page.find("\\-"); at != std::string::npos; at = page.find("\\-", at))
        page.erase(at, 1);
    std::set<std::string> entries;
    for (auto at = page.find(".TP\n"); at != std::string::npos; at = page.find(".TP\n", at + 1)) {
        const std::size_t start = at + 4;
        for (const std::string& word : Words(page.substr(start, page.find('\n', start) - start)))
            if (IsOption(word)) entries.insert(word);
    }
    return entries;
}

// The completion offered after the words typed (the last one being completed).
std::string Completed(const std::string& completionFile, const std::string& typed) {
    WriteFile("complete.sh", ". '" + completionFile + "'\nCOMP_WORDS=(" +
                                 ecc200::testing::ToolCommand() + " " + typed +
                                 ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_ecc200\n"
                                 "echo \"${COMPREPLY[*]}\"\n");
    EXPECT_EQ(Shell("bash complete.sh"), 0) << ReadFile("run.err");
    return ReadFile("run.out");
}

TEST_F(Docs, ManPageListsEveryOptionOfTheHelp) {
    EXPECT_EQ(ManPageEntries("OPTIONS"), HelpOptions());
    // Reading and verifying: their section lists the options of both commands (-h aside).
    std::set<std::string> reading = HelpOptions("read");
    for (const std::string& option : HelpOptions("verify")) reading.insert(option);
    reading.erase("-h");
    reading.erase("--help");
    EXPECT_EQ(ManPageEntries("READING AND VERIFYING"), reading);
}

TEST_F(Docs, CompletionKnowsEveryOptionAndCompletesValues) {
    const std::string completion = ReadFile(kCompletion);
    const std::size_t list = completion.find("local options=\"") + 15;
    EXPECT_EQ(WordSet(completion.substr(list, completion.find('"', list) - list)), HelpOptions());

    WriteFile("registered.sh", ". '" + kCompletion + "' && complete -p ecc200\n");
    ASSERT_EQ(Shell("bash registered.sh"), 0);
    EXPECT_THAT(ReadFile("run.out"), HasSubstr("-F _ecc200 ecc200"));
    // The words typed after the tool's name, the last one being completed, and what is offered.
    const std::pair<std::string, std::string> cases[] = {
        {"--sc", "--scheme"},           {"x --output-d", "--output-dir"},
        {"--scheme e", "edifact"},      {"--format ''", "png bmp svg pdf eps"},
        {"--shape d", "dmre"},          {"--fg tr", "transparent"},
        {"--size 14", "14x14 144x144"}, {"--size 8x1", "8x18 8x120 8x144"},
        {"-o not-there-", ""},          {"ver", "verify"},
        {"read --j", "--json"},         {"verify --j", ""},
        {"read --r", "--raster-only"},  {"verify x.png --pro", "--product --product-mark"},
        {"read --product ''", ""},      {"read --identity not-there-", ""},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(Completed(kCompletion, typed), expected + "\n") << typed;
    // What the completion offers after read and verify is what their help lists.
    for (const std::string command : {"read", "verify"})
        EXPECT_EQ(WordSet(Completed(kCompletion, command + " -")), HelpOptions(command)) << command;
}

}  // namespace
