// Results and what each configuring export resets or keeps, mark switches included.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;

TEST(Lifecycle, CreateVersionGettersAndInvalidHandles) {
    EXPECT_STREQ(Version_ECC200(), "21.10");
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    // The requested size is 10x10 until a size is set, though the getter says -1.
    EXPECT_EQ(std::tuple(GetScheme_ECC200(handle.get()), GetDimension_ECC200(handle.get()),
                         s.requestedSize, s.tag),
              std::tuple(0, -1, 0, kSymbolTag));
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 5) + SetDimension_ECC200(handle.get(), 24), 0);
    s.tag = 0;  // a record without "SYMB" is refused like a null handle
    const uint8_t byte = 'A';
    for (SymbolHandle h : {static_cast<SymbolHandle>(nullptr), handle.get()}) {
        EXPECT_EQ(std::tuple(SetScheme_ECC200(h, 1), GetScheme_ECC200(h), SetDimension_ECC200(h, 1),
                             GetDimension_ECC200(h), SetDataToEncoding_ECC200(h, &byte, 1),
                             SetSignUser_ECC200(h, 1), SetSignProduct_ECC200(h, 1, "P")),
                  std::tuple(8, 0, 8, -1, 8, 8, 8));
        Clear_ECC200(h);
        DeleteSymbol_ECC200(h);
    }
    EXPECT_EQ(std::tuple(s.dataLength, s.scheme, s.requestedSize, s.markState),
              std::tuple(0, 5, 24, nullptr));
    s.tag = kSymbolTag;  // let the owner delete it
}

using H = SymbolHandle;
const std::vector<uint8_t> kZs(3117, 'Z');
const std::string kId101(101, 'x');
const std::string kFields = "**00112233445566778899AA-0123456789abcdefABCDEF";

// Every call starts from both marks on, the product identifier "OLD", 13 data bytes and an encode
// done; what the call keeps or replaces shows in the next encode, which must equal that of a new
// symbol given the expected marks, identifier and data.
struct Rule {
    const char* name;
    size_t identityPrefix;  // of user.id during the call, both "*" included; 0: no file
    int32_t (*call)(H);
    int32_t result;
    int32_t marks;          // expected: user mark on + 2 * product mark on
    const char* productId;  // expected
    std::string_view data;  // expected
    int32_t option = 0;     // expected: an option set (0: none) and its value
    int32_t optionValue = 0;
};

const std::string kPrevious = "previous data";
const std::string kZs3116(3116, 'Z');

// clang-format off
const Rule kRules[] = {
    {"scheme7", 6, [](H h) { return SetScheme_ECC200(h, 7); }, 8, 3, "OLD", kPrevious},
    {"schemeNeg", 6, [](H h) { return SetScheme_ECC200(h, -1); }, 8, 3, "OLD", kPrevious},
    {"size30", 6, [](H h) { return SetDimension_ECC200(h, 30); }, 8, 3, "OLD", kPrevious},
    {"sizeNeg2", 6, [](H h) { return SetDimension_ECC200(h, -2); }, 8, 3, "OLD", kPrevious},
    {"data3116", 6, [](H h) { return SetDataToEncoding_ECC200(h, kZs.data(), 3116); }, 0, 3, "OLD", kZs3116},
    {"data3117", 6, [](H h) { return SetDataToEncoding_ECC200(h, kZs.data(), 3117); }, 2, 3, "OLD", ""},
    {"data0", 6, [](H h) { return SetDataToEncoding_ECC200(h, kZs.data(), 0); }, 8, 3, "OLD", ""},
    {"dataNull", 6, [](H h) { return SetDataToEncoding_ECC200(h, nullptr, 5); }, 8, 3, "OLD", ""},
    {"userOff", 0, [](H h) { return SetSignUser_ECC200(h, 0); }, 0, 2, "OLD", kPrevious},
    {"userOn", 6, [](H h) { return SetSignUser_ECC200(h, 200); }, 0, 3, "OLD", kPrevious},
    {"userPrefix132", 132, [](H h) { return SetSignUser_ECC200(h, 1); }, 0, 3, "OLD", kPrevious},
    {"userNoFile", 0, [](H h) { return SetSignUser_ECC200(h, 1); }, 10, 2, "OLD", kPrevious},
    {"userPrefix133", 133, [](H h) { return SetSignUser_ECC200(h, 1); }, 10, 2, "OLD", kPrevious},
    {"productOff", 6, [](H h) { return SetSignProduct_ECC200(h, 0, "ID"); }, 0, 1, "", kPrevious},
    {"product100", 6, [](H h) { return SetSignProduct_ECC200(h, 1, kId101.c_str() + 1); }, 0, 3, kId101.c_str() + 1, kPrevious},
    {"product101", 6, [](H h) { return SetSignProduct_ECC200(h, 1, kId101.c_str()); }, 8, 1, "", kPrevious},
    {"productEmpty", 6, [](H h) { return SetSignProduct_ECC200(h, 1, ""); }, 8, 1, "", kPrevious},
    {"productNull", 6, [](H h) { return SetSignProduct_ECC200(h, 1, nullptr); }, 8, 1, "", kPrevious},
    {"productNoFileWins", 0, [](H h) { return SetSignProduct_ECC200(h, 1, kId101.c_str()); }, 10, 1, "", kPrevious},
    {"productPrefix133", 133, [](H h) { return SetSignProduct_ECC200(h, 1, "ID"); }, 10, 1, "", kPrevious},
    {"optionEci", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_ECI, 999999); }, 0, 3, "OLD", kPrevious, ECC200_OPTION_ECI, 999999},
    {"optionEciTooHigh", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_ECI, 1000000); }, 8, 3, "OLD", kPrevious},
    {"optionShapeDmre", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_SHAPE, ECC200_SHAPE_DMRE); }, 0, 3, "OLD", kPrevious, ECC200_OPTION_SHAPE, ECC200_SHAPE_DMRE},
    {"optionShapeThree", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_SHAPE, 3); }, 8, 3, "OLD", kPrevious},
    {"optionSize26x64", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_SIZE, 47); }, 0, 3, "OLD", kPrevious, ECC200_OPTION_SIZE, 47},
    {"optionSize48", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_SIZE, 48); }, 8, 3, "OLD", kPrevious},
    {"optionSizeNeg2", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_SIZE, -2); }, 8, 3, "OLD", kPrevious},
    {"optionGs1FieldsOnly", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_GS1, 2); }, 0, 3, "OLD", kPrevious, ECC200_OPTION_GS1, 2},
    {"optionGs1Three", 6, [](H h) { return SetOption_ECC200(h, ECC200_OPTION_GS1, 3); }, 8, 3, "OLD", kPrevious},
    {"optionUnknown", 6, [](H h) { return SetOption_ECC200(h, 0, 0); }, 8, 3, "OLD", kPrevious},
};
// clang-format on

class ExportRules : public ::testing::TestWithParam<Rule> {};

TEST_P(ExportRules, ResultAndWhatTheNextEncodeShows) {
    const auto& [name, identityPrefix, call, result, marks, productId, data, option, optionValue] =
        GetParam();
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    auto handle = MakeSymbol();
    ASSERT_EQ(SetDimension_ECC200(handle.get(), ECC200_SIZE_AUTO) +
                  testing::SetData(handle.get(), kPrevious) + SetSignUser_ECC200(handle.get(), 1) +
                  SetSignProduct_ECC200(handle.get(), 1, "OLD"),
              0);
    int32_t status = -1;
    testing::EncodeToModules(handle.get(), status);
    ASSERT_EQ(status, 0);

    if (identityPrefix != 0) {
        dir.WriteIdentity(std::string(identityPrefix - 2, 'p') + kFields);
    } else {
        dir.RemoveIdentity();
    }
    EXPECT_EQ(call(handle.get()), result);

    dir.WriteIdentity(testing::kSampleIdentity);
    auto expected = MakeSymbol();
    ASSERT_EQ(SetDimension_ECC200(expected.get(), ECC200_SIZE_AUTO) +
                  (data.empty() ? 0 : testing::SetData(expected.get(), data)) +
                  SetSignUser_ECC200(expected.get(), (marks & 1) != 0) +
                  SetSignProduct_ECC200(expected.get(), (marks & 2) != 0, productId) +
                  (option != 0 ? SetOption_ECC200(expected.get(), option, optionValue) : 0),
              0);
    int32_t expectedStatus = -1;
    const auto expectedModules = testing::EncodeToModules(expected.get(), expectedStatus);
    const auto modules = testing::EncodeToModules(handle.get(), status);
    EXPECT_EQ(status, expectedStatus);
    EXPECT_EQ(modules, expectedModules);
}

INSTANTIATE_TEST_SUITE_P(Exports, ExportRules, ::testing::ValuesIn(kRules),
                         [](const auto& c) { return std::string(c.param.name); });

// The size option is the setting behind SetDimension_ECC200 with the DMRE sizes as well: either
// call replaces what the other set, and Clear_ECC200 keeps it requested like the dimension.
TEST(Lifecycle, SizeOptionIsTheDimensionWithDmre) {
    auto handle = MakeSymbol();
    H h = handle.get();
    ASSERT_EQ(SetOption_ECC200(h, ECC200_OPTION_SIZE, ECC200_SIZE_8X48), 0);
    EXPECT_EQ(GetDimension_ECC200(h), ECC200_SIZE_8X48);
    ASSERT_EQ(testing::SetData(h, "0123456789"), 0);
    std::vector<uint8_t> buffer(ECC200_MAX_MODULES);
    ASSERT_EQ(WriteEncodedSymbolToBuf_ECC200(h, buffer.data(), ECC200_MAX_MODULES), 0);
    EXPECT_EQ(std::tuple(GetDimension_ECC200(h), Internals(handle).rows, Internals(handle).cols),
              std::tuple(ECC200_SIZE_8X48, 8, 48));
    Clear_ECC200(h);
    EXPECT_EQ(std::tuple(GetDimension_ECC200(h), Internals(handle).requestedSize),
              std::tuple(-1, ECC200_SIZE_8X48));
    // SetDimension_ECC200 keeps its range, and a refused call keeps the DMRE size requested.
    EXPECT_EQ(SetDimension_ECC200(h, ECC200_SIZE_8X48), 8);
    EXPECT_EQ(Internals(handle).requestedSize, ECC200_SIZE_8X48);
    ASSERT_EQ(SetDimension_ECC200(h, ECC200_SIZE_16X48), 0);
    EXPECT_EQ(GetDimension_ECC200(h), ECC200_SIZE_16X48);
    // Without the option or the DMRE shape the automatic size never reports a DMRE size.
    ASSERT_EQ(SetDimension_ECC200(h, ECC200_SIZE_AUTO) + SetScheme_ECC200(h, ECC200_SCHEME_ASCII) +
                  testing::SetData(h, std::string(18, '.')) +
                  SetOption_ECC200(h, ECC200_OPTION_SHAPE, ECC200_SHAPE_ANY),
              0);
    ASSERT_EQ(WriteEncodedSymbolToBuf_ECC200(h, buffer.data(), ECC200_MAX_MODULES), 0);
    EXPECT_EQ(GetDimension_ECC200(h), ECC200_SIZE_18X18);
}

TEST(Lifecycle, ClearResetsResultsAndMarksButKeepsRequestsIdentifierAndMarkState) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    auto handle = MakeSymbol();
    Symbol& s = Internals(handle);
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 4) + SetDimension_ECC200(handle.get(), 7) +
                  testing::SetData(handle.get(), "data") + SetSignUser_ECC200(handle.get(), 1) +
                  SetOption_ECC200(handle.get(), ECC200_OPTION_ECI, 26) +
                  SetOption_ECC200(handle.get(), ECC200_OPTION_SHAPE, ECC200_SHAPE_ANY),
              0);
    MarkState* state = s.markState;
    ASSERT_EQ(SetSignProduct_ECC200(handle.get(), 1, "PRODUCT-7"), 0);
    ASSERT_EQ(SetScheme_ECC200(handle.get(), 99), 8);
    // What an encode leaves behind.
    s.codewordCount = s.matrix[0][0] = s.codewords[0] = s.rows = s.cols = 1;
    Clear_ECC200(handle.get());
    EXPECT_EQ(std::tuple(s.userMarkOn, s.productMarkOn, s.dataLength, s.data[0], s.matrix[0][0],
                         s.codewords[0], s.rows, s.cols),
              std::tuple(0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(std::tuple(GetScheme_ECC200(handle.get()), GetDimension_ECC200(handle.get()),
                         s.requestedScheme, s.requestedSize, std::string(s.productId),
                         s.productIdLength, s.tag),
              std::tuple(0, -1, 4, 7, std::string("PRODUCT-7"), 9, kSymbolTag));
    EXPECT_TRUE(state != nullptr && s.markState == state);
    EXPECT_EQ(std::tuple(s.options.eci, s.options.shape), std::tuple(0, 0));
}

// POSIX file kinds and a child process: not in the Windows build.
#ifndef _WIN32
// A user.id that is not a regular file (a link is followed) is refused at once with 10, by the
// switch and by an encode with a mark already on; a FIFO is never waited on.
TEST(Lifecycle, IdentityThatIsNoRegularFileIsRefusedAtOnce) {
    const std::pair<const char*, void (*)(const char*)> kinds[] = {
        {"fifo", [](const char* path) { ASSERT_EQ(mkfifo(path, 0600), 0); }},
        {"directory", [](const char* path) { std::filesystem::create_directory(path); }},
        {"device", [](const char* path) { std::filesystem::create_symlink("/dev/zero", path); }},
    };
    for (const auto& [kind, make] : kinds) {
        SCOPED_TRACE(kind);
        ScratchDirectory dir;
        dir.WriteIdentity(testing::kSampleIdentity);
        const auto handle = testing::SymbolWith(0, -1, "A");
        ASSERT_EQ(SetSignProduct_ECC200(handle.get(), 1, "P"), 0);
        dir.RemoveIdentity();
        make("user.id");
        uint8_t modules[100];
        const int results = testing::RunInChild(
            [&] {
                return SetSignUser_ECC200(handle.get(), 1) * 16 +
                       WriteEncodedSymbolToBuf_ECC200(handle.get(), modules, 100);
            },
            std::chrono::seconds(1));
        EXPECT_EQ(results, 10 * 16 + 10);
    }
}
#endif

}  // namespace
}  // namespace ecc200
