// The man page and the bash completion against the tool's own help: every option of the help is
// in both and neither has one the tool lacks; the completion completes options and values.
#include <gmock/gmock.h>

#include <regex>
#include <set>
#include <string>

#include "../support/test_support.h"
#include "tool_run.h"

namespace {

using ecc200::testing::ReadFile;
using ecc200::testing::Shell;
using ::testing::HasSubstr;

const std::string kManPage = std::string(ECC200_SOURCE_DIR) + "/docs/ecc200.1";
const std::string kCompletion = std::string(ECC200_SOURCE_DIR) + "/cli/completion/ecc200.bash";

std::set<std::string> Matches(const std::string& text, const std::regex& pattern) {
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
         it != std::sregex_iterator(); ++it) {
        found.insert((*it)[1].str());
    }
    return found;
}

// The long and short options the help lists in its "Options:" part (not its examples).
std::set<std::string> HelpOptions() {
    EXPECT_EQ(ecc200::testing::Tool({"--help"}), 0);
    std::string help = ReadFile("run.out");
    help = help.substr(help.find("Options:"));
    help = help.substr(0, help.find("Examples:"));
    return Matches(help, std::regex(R"((?:^|\n)\s+((?:-[A-Za-z],)?--[a-z0-9-]+))"));
}

std::set<std::string> LongAndShort(const std::set<std::string>& names) {
    std::set<std::string> split;
    for (const std::string& name : names) {
        const auto comma = name.find(',');
        if (comma != std::string::npos) split.insert(name.substr(0, comma));
        split.insert(name.substr(comma == std::string::npos ? 0 : comma + 1));
    }
    return split;
}

class Docs : public ::testing::Test {
    ecc200::testing::ScratchDirectory dir_;
};

// Every entry of the OPTIONS section (the line after each .TP) names its options, the short and
// the long form.
TEST_F(Docs, ManPageListsEveryOptionOfTheHelp) {
    std::string page = ReadFile(kManPage);
    page = page.substr(page.find(".SH OPTIONS"));
    page = page.substr(0, page.find("\n.SH ", 1));
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    std::set<std::string> entries;
    for (const std::string& entry : Matches(page, std::regex(R"(\.TP\n([^\n]*))"))) {
        const auto names = Matches(entry, std::regex(R"((?:^|\s)(-{1,2}[A-Za-z][A-Za-z0-9-]*))"));
        entries.insert(names.begin(), names.end());
    }
    EXPECT_EQ(entries, LongAndShort(HelpOptions()));
}

TEST_F(Docs, CompletionKnowsEveryOptionAndCompletesValues) {
    const std::string completion = ReadFile(kCompletion);
    const std::string list = completion.substr(completion.find("local options=\""));
    const auto offered =
        Matches(list.substr(0, list.find("\"", 16)), std::regex(R"((-{1,2}[A-Za-z0-9-]+))"));
    EXPECT_EQ(offered, LongAndShort(HelpOptions()));

    ASSERT_EQ(Shell("bash -c \". '" + kCompletion + "' && complete -p ecc200\""), 0);
    EXPECT_THAT(ReadFile("run.out"), HasSubstr("-F _ecc200 ecc200"));
    // The words typed so far, the last one being completed, and what must be offered.
    const std::pair<std::string, std::string> cases[] = {
        {"ecc200 --sc", "--scheme"},           {"ecc200 x --output-d", "--output-dir"},
        {"ecc200 --scheme e", "edifact"},      {"ecc200 --format ", "png bmp svg pdf eps"},
        {"ecc200 --shape a", "any"},           {"ecc200 --fg tr", "transparent"},
        {"ecc200 --size 14", "14x14 144x144"}, {"ecc200 --size 8x", "8x18 8x32"},
        {"ecc200 -o not-there-", ""},
    };
    for (const auto& [typed, expected] : cases) {
        const std::string words =
            std::regex_replace(typed, std::regex("^ecc200"), ecc200::testing::ToolCommand());
        const std::string script = ". '" + kCompletion + "'; COMP_WORDS=(" + words +
                                   (typed.back() == ' ' ? " \"\"" : "") +
                                   "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _ecc200; "
                                   "echo \"${COMPREPLY[*]}\"";
        ASSERT_EQ(Shell("bash -c '" + std::regex_replace(script, std::regex("'"), "'\\''") + "'"),
                  0)
            << ReadFile("run.err");
        EXPECT_EQ(ReadFile("run.out"), expected + "\n") << typed;
    }
}

}  // namespace
