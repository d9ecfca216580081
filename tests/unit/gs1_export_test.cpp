// Gs1ElementString_ECC200 as a C host sees it: either form in, the element string or the
// human-readable line out, the status and a message for every refusal, the buffer rules.
#include <gtest/gtest.h>

#include <string>

#include "ecc200.h"

namespace {

struct Call {
    int32_t status;
    std::string out;
    std::string message;
    int32_t length;
};

Call Convert(const char* text, int32_t flags, int32_t outSize = 200) {
    std::string out(static_cast<std::size_t>(outSize) + 1, '#');
    char message[ECC200_MAX_MESSAGE] = "unchanged";
    int32_t length = -1;
    const int32_t status =
        Gs1ElementString_ECC200(text, flags, reinterpret_cast<uint8_t*>(out.data()), outSize,
                                &length, message, sizeof message);
    const std::size_t written = status == ECC200_OK ? static_cast<std::size_t>(length) : 0;
    return {status, out.substr(0, written), message, length};
}

TEST(Gs1Export, BothFormsInEitherFormOut) {
    const struct {
        const char* text;
        int32_t flags;
        int32_t status;
        const char* out;  // the output, or part of the message
    } cases[] = {
        {"(01)09501101530003(17)250101(10)AB\\(1", 0, ECC200_OK, "01095011015300031725010110AB(1"},
        {"010950110153000310AB\03521C", ECC200_GS1_HUMAN_READABLE, ECC200_OK,
         "(01) 09501101530003 (10) AB (21) C"},
        {"10AB", 0, ECC200_ERR_GS1, "AI (10) needs (01) or (02)"},
        {"(10)AB", ECC200_GS1_SKIP_RELATIONS, ECC200_OK, "10AB"},
        {"(10)AB\xC3\xA9", ECC200_GS1_SKIP_RELATIONS, ECC200_ERR_GS1, "character '\\xC3' at 3"},
        {"010950110153000310A(1)", ECC200_GS1_BRACKETED, ECC200_OK,
         "(01)09501101530003(10)A\\(1\\)"},
        {"(10)AB", 8, ECC200_ERR_PARAMETER, "invalid argument"},
        {"(10)AB", ECC200_GS1_BRACKETED | ECC200_GS1_HUMAN_READABLE, ECC200_ERR_PARAMETER,
         "invalid argument"},
    };
    for (const auto& c : cases) {
        const Call call = Convert(c.text, c.flags);
        EXPECT_EQ(call.status, c.status) << c.text << ": " << call.message;
        if (c.status == ECC200_OK) {
            EXPECT_EQ(call.out, c.out) << c.text;
            EXPECT_EQ(call.message, "");
        } else {
            EXPECT_NE(call.message.find(c.out), std::string::npos) << call.message;
        }
    }
}

TEST(Gs1Export, LengthLimitsOnTheElementString) {
    std::string text;
    for (int i = 0; i < 195; ++i) text += "(01)09501101530003";
    EXPECT_EQ(Convert(text.c_str(), 0, 4000).status, ECC200_ERR_DATA_TOO_LONG);
    // Too small a buffer: refused, with the length needed; exactly the length: no terminating zero.
    const Call small = Convert("(01)09501101530003", 0, 15);
    EXPECT_EQ(small.status, ECC200_ERR_PARAMETER);
    EXPECT_EQ(small.length, 16);
    EXPECT_EQ(Convert("(01)09501101530003", 0, 16).out, "0109501101530003");
    EXPECT_EQ(Gs1ElementString_ECC200(nullptr, 0, nullptr, 0, nullptr, nullptr, 0),
              ECC200_ERR_PARAMETER);
    // Only measured: no buffers at all.
    int32_t length = 0;
    EXPECT_EQ(Gs1ElementString_ECC200("(10)A", ECC200_GS1_SKIP_RELATIONS, nullptr, 0, &length,
                                      nullptr, 0),
              ECC200_ERR_PARAMETER);
    EXPECT_EQ(length, 3);
}

}  // namespace
