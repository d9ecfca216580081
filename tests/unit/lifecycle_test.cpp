// Results, status and message rules of the exports that configure a symbol.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_support.h"

extern "C" int ecc200_c_header_round_trip(void);

namespace ecc200 {
namespace {

using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;
using testing::SetData;

TEST(PublicHeader, CompilesAndLinksFromC) {
    EXPECT_EQ(ecc200_c_header_round_trip(), 0);
}

TEST(Version, IsTheLibraryVersionWithoutASymbol) {
    EXPECT_STREQ(Version_ECC200(), "21.10");
}

TEST(CreateSymbol, StartsEmptyWithAutoSchemeAndRequested10x10) {
    auto handle = MakeSymbol();
    ASSERT_NE(handle, nullptr);
    const Symbol& s = Internals(handle);
    EXPECT_EQ(GetScheme_ECC200(handle.get()), 0);
    EXPECT_EQ(GetDimension_ECC200(handle.get()), -1);
    EXPECT_EQ(s.requestedSize, 0);
    EXPECT_EQ(s.requestedScheme, 0);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.message[0], '\0');
    EXPECT_EQ(std::memcmp(&s.tag, "SYMB", 4), 0);
    EXPECT_EQ(s.dataLength, 0);
    EXPECT_EQ(s.markState, nullptr);
    for (auto* map : s.placementMaps) EXPECT_EQ(map, nullptr);
}

TEST(InvalidHandle, EveryExportAnswersWithItsInvalidResultAndTouchesNothing) {
    // A record whose tag is not "SYMB" must be refused as firmly as a null handle.
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    s.tag = 0;
    for (SymbolHandle h : {static_cast<SymbolHandle>(nullptr), handle.get()}) {
        const uint8_t byte = 'A';
        EXPECT_EQ(SetScheme_ECC200(h, 7), 8);
        EXPECT_EQ(GetScheme_ECC200(h), 0);
        EXPECT_EQ(SetDimension_ECC200(h, 30), 8);
        EXPECT_EQ(GetDimension_ECC200(h), -1);
        EXPECT_EQ(SetDataToEncoding_ECC200(h, &byte, 1), 8);
        EXPECT_EQ(SetSignUser_ECC200(h, 1), 8);
        EXPECT_EQ(SetSignProduct_ECC200(h, 1, "P"), 8);
        Clear_ECC200(h);
        DeleteSymbol_ECC200(h);
    }
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.message[0], '\0');
    EXPECT_EQ(s.dataLength, 0);
    s.tag = kSymbolTag;  // let the owner delete it
}

struct SetterCase {
    const char* name;
    int32_t (*call)(SymbolHandle, int32_t);
    int32_t (*get)(SymbolHandle);
    int32_t value;
    int32_t expected;
};

class SetterTest : public ::testing::TestWithParam<SetterCase> {};

TEST_P(SetterTest, AcceptsTheRangeAndReportsEverythingElse) {
    const SetterCase& c = GetParam();
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    s.encoded = 1;
    const int32_t before = c.get(handle.get());
    EXPECT_EQ(c.call(handle.get(), c.value), c.expected);
    if (c.expected == 0) {
        EXPECT_EQ(c.get(handle.get()), c.value);
        EXPECT_EQ(s.encoded, 0);
        EXPECT_EQ(s.status, 0);
    } else {
        EXPECT_EQ(c.get(handle.get()), before);
        EXPECT_EQ(s.status, 8);
        EXPECT_STREQ(s.message, "Bug of parameters");
        EXPECT_EQ(s.encoded, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Range, SetterTest,
    ::testing::Values(SetterCase{"scheme0", SetScheme_ECC200, GetScheme_ECC200, 0, 0},
                      SetterCase{"scheme6", SetScheme_ECC200, GetScheme_ECC200, 6, 0},
                      SetterCase{"scheme7", SetScheme_ECC200, GetScheme_ECC200, 7, 8},
                      SetterCase{"schemeMinus1", SetScheme_ECC200, GetScheme_ECC200, -1, 8},
                      SetterCase{"schemeMin", SetScheme_ECC200, GetScheme_ECC200, INT32_MIN, 8},
                      SetterCase{"sizeAuto", SetDimension_ECC200, GetDimension_ECC200, -1, 0},
                      SetterCase{"size0", SetDimension_ECC200, GetDimension_ECC200, 0, 0},
                      SetterCase{"size29", SetDimension_ECC200, GetDimension_ECC200, 29, 0},
                      SetterCase{"size30", SetDimension_ECC200, GetDimension_ECC200, 30, 8},
                      SetterCase{"sizeMinus2", SetDimension_ECC200, GetDimension_ECC200, -2, 8}),
    testing::CaseName());

TEST(Setters, KeepTheRequestedValueApartFromTheValueInUse) {
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 5), 0);
    ASSERT_EQ(SetDimension_ECC200(handle.get(), 24), 0);
    EXPECT_EQ(s.requestedScheme, 5);
    EXPECT_EQ(s.requestedSize, 24);
    s.scheme = 1;  // what an encode leaves behind
    s.sizeIndex = 3;
    EXPECT_EQ(GetScheme_ECC200(handle.get()), 1);
    EXPECT_EQ(GetDimension_ECC200(handle.get()), 3);
}

TEST(Status, SuccessfulSettersLeaveAnOlderFailureInPlace) {
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 9), 8);
    EXPECT_EQ(SetScheme_ECC200(handle.get(), 1), 0);
    EXPECT_EQ(SetDimension_ECC200(handle.get(), 1), 0);
    EXPECT_EQ(SetData(handle, "abc"), 0);
    EXPECT_EQ(s.status, 8);
    EXPECT_EQ(s.message[0], '\0');  // only the data setter empties the message
}

struct DataCase {
    const char* name;
    bool nullData;
    int32_t length;
    int32_t expected;
    const char* message;
};

class SetDataTest : public ::testing::TestWithParam<DataCase> {};

TEST_P(SetDataTest, EmptiesTheSymbolFirstThenStoresOrRejects) {
    const DataCase& c = GetParam();
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetData(handle, "previous data"), 0);
    s.codewords[5] = 77;
    s.codewordCount = 9;
    s.matrix[3][3] = 1;
    s.rows = s.cols = 10;
    s.encoded = 1;
    s.mappingRows = s.mappingCols = 8;
    std::strcpy(s.message, "old");

    std::string bytes(static_cast<size_t>(c.length > 0 ? c.length + 1 : 1), 'Z');
    const auto* data = c.nullData ? nullptr : reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_EQ(SetDataToEncoding_ECC200(handle.get(), data, c.length), c.expected);

    EXPECT_STREQ(s.message, c.message);
    EXPECT_EQ(s.codewords[5], 0);
    EXPECT_EQ(s.codewordCount, 0);
    EXPECT_EQ(s.matrix[3][3], 0);
    EXPECT_EQ(s.rows, 0);
    EXPECT_EQ(s.cols, 0);
    EXPECT_EQ(s.encoded, 0);
    EXPECT_EQ(s.mappingRows, 0);
    EXPECT_EQ(s.mappingCols, 0);
    if (c.expected == 0) {
        EXPECT_EQ(s.dataLength, c.length);
        EXPECT_EQ(s.data[0], 'Z');
        EXPECT_EQ(s.data[c.length - 1], 'Z');
        EXPECT_EQ(s.data[c.length], 0);
    } else {
        EXPECT_EQ(s.status, c.expected);
        EXPECT_EQ(s.dataLength, 0);
        EXPECT_EQ(s.data[0], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, SetDataTest,
    ::testing::Values(DataCase{"one", false, 1, 0, ""}, DataCase{"max", false, 3116, 0, ""},
                      DataCase{"tooLong", false, 3117, 2, "Too long text for all sizes"},
                      DataCase{"zero", false, 0, 8, "Bug of parameters"},
                      DataCase{"negative", false, -4, 8, "Bug of parameters"},
                      DataCase{"null", true, 5, 8, "Bug of parameters"}),
    testing::CaseName());

TEST(SetData, StoresEveryByteValueUnchanged) {
    auto handle = MakeSymbol();
    std::string bytes;
    for (int v = 0; v < 256; ++v) bytes.push_back(static_cast<char>(v));
    ASSERT_EQ(SetData(handle, bytes), 0);
    EXPECT_EQ(std::memcmp(Internals(handle).data, bytes.data(), bytes.size()), 0);
}

TEST(Clear, ResetsResultsAndMarksButKeepsRequestsProductIdAndCaches) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 4), 0);
    ASSERT_EQ(SetDimension_ECC200(handle.get(), 7), 0);
    ASSERT_EQ(SetData(handle, "data"), 0);
    ASSERT_EQ(SetSignUser_ECC200(handle.get(), 1), 0);
    ASSERT_EQ(SetSignProduct_ECC200(handle.get(), 1, "PRODUCT-7"), 0);
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 99), 8);
    MarkState* state = s.markState;
    ASSERT_NE(state, nullptr);
    s.matrix[0][0] = 1;
    s.rows = s.cols = 24;
    s.encoded = 1;

    Clear_ECC200(handle.get());

    EXPECT_EQ(s.userMarkOn, 0);
    EXPECT_EQ(s.productMarkOn, 0);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.message[0], '\0');
    EXPECT_EQ(s.dataLength, 0);
    EXPECT_EQ(s.data[0], 0);
    EXPECT_EQ(s.matrix[0][0], 0);
    EXPECT_EQ(s.rows, 0);
    EXPECT_EQ(s.encoded, 0);
    EXPECT_EQ(GetScheme_ECC200(handle.get()), 0);
    EXPECT_EQ(GetDimension_ECC200(handle.get()), -1);
    EXPECT_EQ(s.requestedScheme, 4);
    EXPECT_EQ(s.requestedSize, 7);
    EXPECT_STREQ(s.productId, "PRODUCT-7");
    EXPECT_EQ(s.productIdLength, 9);
    EXPECT_EQ(s.markState, state);
    EXPECT_EQ(std::memcmp(&s.tag, "SYMB", 4), 0);
}

}  // namespace
}  // namespace ecc200
