// GS1 bracketed text to element string: what is accepted, where FNC1 (GS) goes, and that every
// refusal names the bad field.
#include "gs1_element_string.h"

#include <gmock/gmock.h>

#include <utility>

namespace {

// Bracketed text; the element string (GS written as \035), or part of the one-line message when
// refused.
const std::pair<const char*, const char*> kCases[] = {
    // Predefined-length AIs need no separator, whatever follows; the last element has none.
    {"(01)09501101530003(17)250101(10)ABC123", "01095011015300031725010110ABC123"},
    {"(00)009501101500000013(3103)000189", "000095011015000000133103000189"},
    {"(10)ABC(21)12345", "10ABC\0352112345"},
    // Fixed length but not predefined by the first two digits: still separated.
    {"(422)250(10)X", "422250\03510X"},
    {"(8006)095011015300030102(7030)250ABC(91)x-y",
     "8006095011015300030102\0357030250ABC\03591x-y"},
    // Escaped and plain parentheses in a value; one line end at the end is dropped.
    {"(21)A\\(B)C(17)251231\r\n", "21A(B)C\03517251231"},
    {"(4330)001234-(4307)DE", "4330001234-\0354307DE"},
    // Refused, naming the field.
    {"", "it must start with an AI in parentheses"},
    {"(01", "'(01' does not start an AI"},
    {"(10)X(12345)Y", "'(12345' does not start an AI"},
    {"(19)123456", "(19) is not a known AI"},
    {"(01)0950110153000", "field (01): its value must have exactly 14 digits, not 13"},
    {"(10)", "field (10): its value must have 1 to 20 characters, not 0"},
    {"(253)950110153003", "field (253): its value must have 13 to 30 characters, not 12"},
    {"(01)09501101530004", "field (01): the check digit of '09501101530004' is wrong"},
    {"(8006)095011015300040102", "field (8006): the check digit of '09501101530004'"},
    {"(01)0950110153000A", "field (01): character 14 of its value, 'A', is not allowed: digits"},
    {"(10)AB~C", "field (10): character 3 of its value, '~', is not allowed: only A-Z"},
    {"(10)A\\B", "field (10): character 2 of its value, '\\'"},
    {"(17)251301", "field (17): '251301' is not a date in the form YYMMDD"},
    {"(17)250230", "field (17): '250230' is not a date"},
    {"(4307)DEU", "field (4307): its value must have exactly 2 characters, not 3"},
    {"(4330)001234+", "field (4330): character 7 of its value, '+', is not allowed: only a '-'"},
    {"(10)A\n\n", "field (10): character 2 of its value, '\n'"},
};

// Whatever a wrong result is, it differs from the expected one: a refusal's message holds no
// element string, and an accepted text gives no message.
TEST(Gs1ElementString, ConvertsOrRefusesNamingTheField) {
    for (const auto& [text, expected] : kCases) {
        const auto result = ecc200_cli::ConvertGs1Bracketed(text);
        if (result.error.empty()) {
            EXPECT_EQ(result.elementString, expected) << text;
            continue;
        }
        EXPECT_EQ(result.elementString, "") << text;
        EXPECT_THAT(result.error, ::testing::StartsWith("GS1 data: ")) << text;
        EXPECT_THAT(result.error, ::testing::HasSubstr(expected)) << text;
    }
}

}  // namespace
