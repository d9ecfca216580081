// GS1 data end to end: bracketed text converted by the export, encoded with ECC200_OPTION_GS1 and
// read back by an independent reader as ]d2 with exactly the element string; data that breaks a
// rule refused with ECC200_ERR_GS1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/reader_support.h"

namespace ecc200 {
namespace {

std::string ElementString(const std::string& bracketed, int32_t flags = 0) {
    std::vector<uint8_t> out(4000);
    int32_t length = 0;
    char message[ECC200_MAX_MESSAGE];
    const int32_t status =
        Gs1ElementString_ECC200(bracketed.c_str(), flags, out.data(),
                                static_cast<int32_t>(out.size()), &length, message, sizeof message);
    EXPECT_EQ(status, ECC200_OK) << bracketed << ": " << message;
    return {reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(length)};
}

// Bracketed text read back as ]d2 with exactly its element string, every separator as GS, in the
// automatic scheme and in every fixed scheme that carries the data (each carries some of it).
TEST(Gs1Reader, AcceptedDataReadsBackAsItsElementString) {
    std::string manyGtins;
    for (int i = 0; i < 187; ++i) manyGtins += "(01)09501101530003";
    const std::string cases[] = {
        "(01)09501101530003(17)250101(10)ABC123",
        "(01)09501101530003(10)AB\\(1\\)(21)x-y_z",
        "(00)095011015000000013(3300)000500(400)PO-1(403)RT9(4321)1(4307)DE(4309)"
        "18000000003600000000(4326)250228",
        "(01)09501101530003(3103)000123(10)A",
        "(8004)1234*>ABC*>X12(91)TEXT",
        "(253)9501101530003ABC(8003)09501101530003S1(8013)1987654Ad4X4bL5ttr2310c2K",
        "(01)09501101530003(21)S(8001)12345123451201(7240)P1(91)%7B(8030)AB-_=",
        manyGtins,
    };
    int readInScheme[7] = {};
    for (const std::string& bracketed : cases) {
        const Bytes element = testing::Bytes(ElementString(bracketed));
        for (int32_t scheme = 0; scheme <= 6; ++scheme) {
            const auto e = EncodeAndRead({.scheme = scheme, .gs1 = ECC200_GS1_CHECKED}, element);
            if (scheme != 0 && e.status != 0) continue;
            ++readInScheme[scheme];
            ASSERT_EQ(e.status, ECC200_OK) << bracketed;
            EXPECT_EQ(e.read.symbologyIdentifier(), "]d2") << bracketed << " scheme " << scheme;
            EXPECT_EQ(BytesOf(e.read), element) << bracketed << " scheme " << scheme;
        }
    }
    for (const int read : readInScheme) EXPECT_GT(read, 0);
}

// A C host gets ECC200_ERR_GS1 for an element string that breaks a rule; relations only with
// ECC200_GS1_CHECKED.
TEST(Gs1Reader, BrokenElementStringsRefused) {
    const struct {
        const char* data;
        int32_t checked;
        int32_t fieldsOnly;
    } cases[] = {
        {"0109501101530004", ECC200_ERR_GS1, ECC200_ERR_GS1},
        {"17250229", ECC200_ERR_GS1, ECC200_ERR_GS1},
        {"310600012", ECC200_ERR_GS1, ECC200_ERR_GS1},
        {"10ABC\035", ECC200_ERR_GS1, ECC200_ERR_GS1},
        {"10ABC", ECC200_ERR_GS1, ECC200_OK},
        {"0109501101530003\03510A\03510B", ECC200_ERR_GS1, ECC200_OK},
        {"\03510ABC", ECC200_ERR_PARAMETER, ECC200_ERR_PARAMETER},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeAndRead({.gs1 = ECC200_GS1_CHECKED}, testing::Bytes(c.data), false).status,
                  c.checked)
            << c.data;
        EXPECT_EQ(
            EncodeAndRead({.gs1 = ECC200_GS1_FIELDS_ONLY}, testing::Bytes(c.data), false).status,
            c.fieldsOnly)
            << c.data;
    }
    // Plain data keeps its behaviour: the same bytes encode without the option.
    EXPECT_EQ(EncodeAndRead({}, testing::Bytes("0109501101530004"), false).status, ECC200_OK);
}

}  // namespace
}  // namespace ecc200
