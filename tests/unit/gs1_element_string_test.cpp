// GS1 data through the library's checker: the bracketed form converted into the element string,
// element strings checked field by field and as a whole, and messages that name the fault in plain
// ASCII. (The human-readable line and the bracketed output: gs1_export_test.)
#include <gtest/gtest.h>

#include <string>

#include "gs1/element_string.h"

namespace ecc200::gs1 {
namespace {

constexpr bool kRelations = true;
constexpr bool kFieldsOnly = false;

struct Conversion {
    std::string bracketed;
    bool relations;
    Verdict verdict;
    std::string expected;  // the element string (GS as \035), or part of the message
};

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

const std::string kGtin = "(01)09501101530003";

const Conversion kConversions[] = {
    // Predefined lengths run into the next AI; other fields end with GS unless last.
    {kGtin + "(17)250101(10)ABC123", kRelations, Verdict::kValid,
     "01095011015300031725010110ABC123"},
    {kGtin + "(10)ABC\\(1\\)(21)X)", kRelations, Verdict::kValid,
     "010950110153000310ABC(1)\03521X)"},
    {"(3103)000189" + kGtin, kRelations, Verdict::kValid, "31030001890109501101530003"},
    {"(8006)095011015300030102(7030)250ABC(91)x-y", kFieldsOnly, Verdict::kValid,
     "8006095011015300030102\0357030250ABC\03591x-y"},
    {"(8008)25010112(8008)2501011230", kFieldsOnly, Verdict::kValid,
     "800825010112\0358008250101123"
     "0"},
    // Fields that break their AI's format or checks.
    {"(3106)000123", kFieldsOnly, Verdict::kBroken, "(3106) is not a GS1 AI"},
    {"(12345)1", kFieldsOnly, Verdict::kBroken, "'(12345' does not start an AI"},
    {"01095011015300031", kFieldsOnly, Verdict::kBroken, "must start with '('"},
    {"", kFieldsOnly, Verdict::kBroken, "GS1 data is empty"},
    {"(01)0950110153000", kFieldsOnly, Verdict::kBroken,
     "AI (01): value has 13 characters, must have 14"},
    {"(10)" + std::string(10000, 'A'), kFieldsOnly, Verdict::kBroken,
     "AI (10): value has 10000 characters, must have 1 to 20"},
    {"(8003)09501101530004", kFieldsOnly, Verdict::kBroken,
     "AI (8003) component 2 of 3: wrong check digit"},
    {"(8008)250101123", kFieldsOnly, Verdict::kBroken, "component 3 of 4: has 1 characters"},
    {"(8030)AB==", kFieldsOnly, Verdict::kBroken, "character '=' at 3 not allowed: base64url"},
    {"(10)AB\xC3\xA9"
     "CD",
     kFieldsOnly, Verdict::kBroken, "character '\\xC3' at 3 not allowed"},
    // Relations: requirements, exclusions, repeats; none of them with the fields only.
    {"(10)ABC", kRelations, Verdict::kBroken,
     "AI (10) needs (01) or (02) or (03) or (8006) or (8026) in the same data"},
    {"(10)ABC", kFieldsOnly, Verdict::kValid, "10ABC"},
    {kGtin + "(250)X", kRelations, Verdict::kBroken, "AI (250) needs (01)+(21) or (03)+(21)"},
    {kGtin + "(250)X(21)Y", kRelations, Verdict::kValid, "0109501101530003250X\03521Y"},
    {kGtin + "(02)09501101530003(37)1", kRelations, Verdict::kBroken,
     "AI (01) and AI (37) exclude each other"},
    {kGtin + "(3100)000100(3101)000010", kRelations, Verdict::kBroken,
     "AI (3100) and AI (3101) exclude each other"},
    {kGtin + "(3100)000100(3100)000100", kRelations, Verdict::kValid,
     "010950110153000331000001003100000100"},
    {kGtin + "(10)A(10)B", kRelations, Verdict::kBroken, "AI (10) appears twice with different"},
    {kGtin + "(10)A(10)B", kFieldsOnly, Verdict::kValid, "010950110153000310A\03510B"},
    {"(3920)100" + kGtin + "(3300)000001", kRelations, Verdict::kBroken,
     "AI (3920) needs (01)+(30) or (01)+(31nn)"},
    // The length limit applies to the element string: 187 GTINs are 2992 bytes, 195 too many.
    {Repeat(kGtin, 187), kRelations, Verdict::kValid, Repeat("0109501101530003", 187)},
    {Repeat(kGtin, 195), kRelations, Verdict::kTooLong, "element string longer than 3116 bytes"},
};

bool IsPrintableAscii(const std::string& text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

TEST(Gs1ElementString, BracketedFormConvertedAndChecked) {
    for (const Conversion& c : kConversions) {
        uint8_t out[kMaxElementStringLength];
        char text[100];
        Message message(text, sizeof text);
        int32_t length = -1;
        const Verdict verdict =
            ConvertBracketed(c.bracketed.c_str(), c.relations, out, sizeof out, length, message);
        const std::string shown = c.bracketed.substr(0, 60);
        ASSERT_EQ(verdict, c.verdict) << shown << ": " << text;
        if (verdict == Verdict::kValid) {
            const std::string converted(reinterpret_cast<char*>(out),
                                        static_cast<std::size_t>(length));
            EXPECT_EQ(converted, c.expected) << shown;
            // The element string passes the same checks on its own.
            Message again(nullptr, 0);
            EXPECT_EQ(CheckElementString(converted, c.relations, again), Verdict::kValid);
        } else {
            EXPECT_NE(std::string(text).find(c.expected), std::string::npos)
                << shown << ": " << text;
            EXPECT_TRUE(IsPrintableAscii(text)) << text;
        }
    }
}

// Element strings whose layout is wrong although every value would be right. (A GS after a field
// of predefined length is redundant, not wrong.)
TEST(Gs1ElementString, LayoutFaultsNamed) {
    Message none(nullptr, 0);
    EXPECT_EQ(CheckElementString("0109501101530003\03510A", kRelations, none), Verdict::kValid);
    const std::pair<std::string, std::string> cases[] = {
        {"0109501101530003"
         "10A\035",
         "separator (GS) at the end"},
        {"0109501101530003"
         "10A\035\03521B",
         "separator (GS) where an AI must start, at byte 21"},
        {"01095011015300", "AI (01): value has 12 characters"},
        {"10" + std::string(3200, 'A'), "AI (10): value has 3200 characters"},
        {"\xC3\xA9", "no GS1 AI starts '\\xC3\\xA9'"},
    };
    for (const auto& [data, expected] : cases) {
        char text[100];
        Message message(text, sizeof text);
        EXPECT_EQ(CheckElementString(data, kFieldsOnly, message), Verdict::kBroken) << data;
        EXPECT_NE(std::string(text).find(expected), std::string::npos) << text;
        EXPECT_TRUE(IsPrintableAscii(text)) << text;
    }
}

// Messages are cut whole: an escape never loses its tail, and nothing passes the buffer's end.
TEST(Gs1ElementString, MessagesStayWithinTheirBuffer) {
    const std::string full = "AI (10): '\\xC3\\xA9\\xC3\\xA9'";
    for (std::size_t size = 1; size < 40; ++size) {
        std::string buffer(size + 8, '#');
        Message message(buffer.data(), size);
        message.Text("AI (10): ").Quoted("\xC3\xA9\xC3\xA9");
        const std::string text(buffer.c_str());
        EXPECT_LT(text.size(), size);
        EXPECT_EQ(buffer.substr(size), std::string(8, '#'));
        EXPECT_EQ(full.substr(0, text.size()), text);
        if (text.size() > 10 && text.size() < full.size()) {
            EXPECT_EQ((text.size() - 10) % 4, 0u) << text;
        }
    }
}

}  // namespace
}  // namespace ecc200::gs1
