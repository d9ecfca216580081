#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::CaseName;
using testing::Internals;
using testing::MakeSymbol;
using testing::ScratchDirectory;
using testing::SetData;
using testing::SymbolPtr;

constexpr int32_t kSize10x10 = 0;
constexpr int32_t kSize8x18 = 24;

SymbolPtr SymbolWith(int32_t size, const std::string& data) {
    SymbolPtr handle = MakeSymbol();
    EXPECT_EQ(SetDimension_ECC200(handle.get(), size), 0);
    EXPECT_EQ(SetData(handle, data), 0);
    return handle;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U32(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint32_t U16(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

// The module buffer of the symbol as WriteEncodedSymbolToBuf_ECC200 gives it.
std::vector<uint8_t> Modules(const SymbolPtr& handle) {
    std::vector<uint8_t> buffer(ECC200_MAX_MODULES);
    EXPECT_EQ(WriteEncodedSymbolToBuf_ECC200(handle.get(), buffer.data(), ECC200_MAX_MODULES), 0);
    const SymbolSize& size = SizeAt(GetDimension_ECC200(handle.get()));
    buffer.resize(static_cast<std::size_t>(size.symbolRows * size.symbolCols));
    return buffer;
}

TEST(BufferOutput, TopRowFirstWithTimingAboveFinder) {
    const SymbolPtr handle = SymbolWith(kSize8x18, "Hi");
    const std::vector<uint8_t> modules = Modules(handle);
    ASSERT_EQ(modules.size(), 8u * 18u);
    for (std::size_t c = 0; c < 18; ++c) {
        EXPECT_EQ(modules[c], c % 2 == 0 ? 1 : 0) << "top row, column " << c;
        EXPECT_EQ(modules[7 * 18 + c], 1) << "bottom row, column " << c;
    }
    for (std::size_t r = 0; r < 8; ++r) {
        EXPECT_EQ(modules[r * 18], 1) << "left column, row " << r;
        EXPECT_EQ(modules[r * 18 + 17], r % 2 == 0 ? 0 : 1) << "right column, row " << r;
    }
}

struct BufferCase {
    std::string name;
    bool nullBuffer;
    int32_t sizeOffset;  // bufferSize relative to rows x cols
    int32_t result;
};

class BufferOutputSize : public ::testing::TestWithParam<BufferCase> {};

TEST_P(BufferOutputSize, WritesOnlyIntoABufferThatHoldsTheSymbol) {
    const BufferCase& c = GetParam();
    const SymbolPtr handle = SymbolWith(kSize10x10, "123456");
    std::vector<uint8_t> buffer(200, 0xEE);
    const int32_t size = 100 + c.sizeOffset;
    EXPECT_EQ(
        WriteEncodedSymbolToBuf_ECC200(handle.get(), c.nullBuffer ? nullptr : buffer.data(), size),
        c.result);
    EXPECT_EQ(Internals(handle).status, 0);  // failures of the buffer itself are not stored
    EXPECT_EQ(Internals(handle).encoded, 1);
    const auto touched = static_cast<std::size_t>(
        std::count_if(buffer.begin(), buffer.end(), [](uint8_t b) { return b != 0xEE; }));
    EXPECT_EQ(touched, c.result == 0 ? 100u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Output, BufferOutputSize,
                         ::testing::Values(BufferCase{"Exact", false, 0, 0},
                                           BufferCase{"Larger", false, 100, 0},
                                           BufferCase{"OneByteShort", false, -1, 8},
                                           BufferCase{"Negative", false, -101, 8},
                                           BufferCase{"NullButLargeEnough", true, 0, 8}),
                         CaseName{});

struct BmpCase {
    std::string name;
    int32_t size;
    int32_t moduleSize;
    int32_t quietZone;
    uint32_t width, height, stride, fileSize;
};

class BmpLayout : public ::testing::TestWithParam<BmpCase> {};

// Header fields, palette, and every stored pixel against the module buffer.
TEST_P(BmpLayout, MatchesTheModuleBuffer) {
    const BmpCase& c = GetParam();
    ScratchDirectory directory;
    const SymbolPtr handle = SymbolWith(c.size, "123456");
    const std::vector<uint8_t> modules = Modules(handle);
    Internals(handle).status = 99;
    ASSERT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), c.moduleSize, c.quietZone, "s.bmp"), 0);
    EXPECT_EQ(Internals(handle).status, 0);
    const std::vector<uint8_t> file = ReadFile(directory.path() / "s.bmp");
    ASSERT_EQ(file.size(), c.fileSize);

    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), c.fileSize);
    EXPECT_EQ(U32(file, 6), 0u);
    EXPECT_EQ(U32(file, 10), 1078u);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(U32(file, 18), c.width);
    EXPECT_EQ(U32(file, 22), c.height);
    EXPECT_EQ(U16(file, 26), 1u);
    EXPECT_EQ(U16(file, 28), 8u);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 34), c.stride * c.height);
    EXPECT_EQ(U32(file, 38), 0u);
    EXPECT_EQ(U32(file, 42), 0u);
    EXPECT_EQ(U32(file, 46), 256u);
    EXPECT_EQ(U32(file, 50), 0u);
    for (uint32_t i = 0; i < 256; ++i) {
        ASSERT_EQ(U32(file, 54 + 4 * i), i | i << 8 | i << 16) << "palette entry " << i;
    }

    const SymbolSize& size = SizeAt(c.size);
    const int margin = c.quietZone > 0 ? c.quietZone : 0;
    for (uint32_t stored = 0; stored < c.height; ++stored) {
        const int y = static_cast<int>(c.height - 1 - stored);  // picture row, 0 at the top
        const std::size_t row = 1078 + stored * c.stride;
        for (uint32_t x = 0; x < c.stride; ++x) {
            uint8_t expected = 0;  // row padding
            if (x < c.width) {
                const int mr = (y - margin) / c.moduleSize;
                const int mc = (static_cast<int>(x) - margin) / c.moduleSize;
                const bool inside = y >= margin && static_cast<int>(x) >= margin &&
                                    mr < size.symbolRows && mc < size.symbolCols;
                const bool dark =
                    inside && modules[static_cast<std::size_t>(mr * size.symbolCols + mc)] != 0;
                expected = dark ? 0 : 255;
            }
            ASSERT_EQ(file[row + x], expected) << "stored row " << stored << ", byte " << x;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Output, BmpLayout,
    ::testing::Values(BmpCase{"OnePixelModulesNoMargin", kSize10x10, 1, 0, 10, 10, 12, 1198},
                      BmpCase{"FourPixelModulesEightPixelMargin", kSize10x10, 4, 8, 56, 56, 56,
                              4214},
                      BmpCase{"NegativeMarginIsNone", kSize10x10, 1, -5, 10, 10, 12, 1198},
                      BmpCase{"Rectangle", kSize8x18, 1, 0, 18, 8, 20, 1238},
                      BmpCase{"OddMarginAndModules", kSize8x18, 3, 1, 56, 26, 56, 2534}),
    CaseName{});

struct BmpFailure {
    std::string name;
    int32_t size;  // 10x10 encodes; 8x18 cannot hold the data below and fails with 1
    int32_t moduleSize;
    int32_t quietZone;
    const char* fileName;
    int32_t result;
    int32_t storedStatus;
};

class BmpOutputFailure : public ::testing::TestWithParam<BmpFailure> {};

TEST_P(BmpOutputFailure, ReportsAndCreatesNoFile) {
    const BmpFailure& c = GetParam();
    ScratchDirectory directory;
    const SymbolPtr handle = SymbolWith(c.size, c.size == kSize10x10 ? "123456" : "1234567890123");
    EXPECT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), c.moduleSize, c.quietZone, c.fileName),
              c.result);
    EXPECT_EQ(Internals(handle).status, c.storedStatus);
    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Output, BmpOutputFailure,
    ::testing::Values(BmpFailure{"EncodeFails", kSize8x18, 1, 0, "s.bmp", 1, 1},
                      BmpFailure{"ZeroModuleSize", kSize10x10, 0, 0, "s.bmp", 8, 0},
                      BmpFailure{"NegativeModuleSize", kSize10x10, -3, 0, "s.bmp", 8, 0},
                      BmpFailure{"WidthBeyond32Bits", kSize10x10, INT32_MAX / 5, 0, "s.bmp", 8, 0},
                      BmpFailure{"MarginBeyond32Bits", kSize10x10, 1, INT32_MAX / 2, "s.bmp", 8, 0},
                      // 46350 x 46350 pixels fit a signed 32-bit width but not the file size.
                      BmpFailure{"FileBeyond32Bits", kSize10x10, 4635, 0, "s.bmp", 8, 0},
                      BmpFailure{"NullFileName", kSize10x10, 1, 0, nullptr, 8, 8},
                      BmpFailure{"MissingDirectory", kSize10x10, 1, 0, "missing/s.bmp", 18, 18}),
    CaseName{});

TEST(BmpOutput, WriteErrorIsNotReportedAsSuccess) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const SymbolPtr handle = SymbolWith(kSize10x10, "123456");
    EXPECT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), 1, 0, "/dev/full"), 18);
    EXPECT_EQ(Internals(handle).status, 18);
    EXPECT_EQ(Internals(handle).encoded, 1);
}

TEST(Output, InvalidHandles) {
    uint8_t buffer[ECC200_MAX_MODULES];
    EXPECT_EQ(WriteEncodedSymbolToBuf_ECC200(nullptr, buffer, ECC200_MAX_MODULES), 8);
    EXPECT_EQ(WriteEncodedSymbolToBMP_ECC200(nullptr, 1, 0, "s.bmp"), 8);
    const SymbolPtr handle = SymbolWith(kSize10x10, "1");
    Internals(handle).tag = 0;
    EXPECT_EQ(WriteEncodedSymbolToBuf_ECC200(handle.get(), buffer, ECC200_MAX_MODULES), 8);
    EXPECT_EQ(Internals(handle).encoded, 0);
    Internals(handle).tag = kSymbolTag;
}

}  // namespace
}  // namespace ecc200
