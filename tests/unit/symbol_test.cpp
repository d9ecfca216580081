// Complete symbols: the encode pipeline and both outputs. Whether the codewords and modules are
// right for every size and scheme is proven by the reader round trips and pinned by the output
// digests (statuses and sizes included); these are the failure paths and the BMP file.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

#include "geometry/placement_map.h"
#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::Internals;
using testing::SymbolPtr;
using testing::SymbolWith;
using Bytes = std::vector<uint8_t>;

Bytes BufferOf(const SymbolPtr& handle) {
    int32_t status = -1;
    const Bytes modules = testing::EncodeToModules(handle.get(), status);
    EXPECT_EQ(status, 0);
    return modules;
}

// A cached map entry outside the matrix fails the encode with 18 instead of writing elsewhere.
TEST(EncodePipeline, MapEntryOutsideTheMatrix) {
    const SymbolPtr handle = SymbolWith(0, -1, "123456");
    Symbol& symbol = Internals(handle);
    BufferOf(handle);
    PlacementEntry* const map = symbol.placementMaps[0];
    for (const PlacementEntry outside :
         {PlacementEntry{255, 255}, PlacementEntry{8, 0}, PlacementEntry{0, 8}}) {
        map[13] = outside;
        int32_t status = 0;
        testing::EncodeToModules(handle.get(), status);
        EXPECT_EQ(status, 18);
    }
}

// Every module of the symbol is written by the encode, whatever the matrix held before: the
// same data in a symbol whose matrix is all dark gives the same buffer as in a fresh one.
TEST(BufferOutput, NothingOfAnEarlierMatrixShows) {
    for (int32_t sizeIndex = 0; sizeIndex < kSizeCount; ++sizeIndex) {
        const SymbolPtr stale = SymbolWith(ECC200_SCHEME_ASCII, sizeIndex, "A");
        std::fill_n(&Internals(stale).matrix[0][0], sizeof Symbol::matrix, uint8_t{1});
        EXPECT_EQ(BufferOf(stale), BufferOf(SymbolWith(ECC200_SCHEME_ASCII, sizeIndex, "A")))
            << SizeName(sizeIndex);
    }
}

// A buffer that cannot take the symbol gives 8 and nothing is written; a symbol without data
// gives 17.
TEST(BufferOutput, Failures) {
    // Null buffer, buffer size, result; the 10x10 symbol takes 100 bytes.
    const std::tuple<bool, int32_t, int32_t> cases[] = {
        {false, 100, 0}, {false, 200, 0}, {false, 99, 8}, {false, -1, 8}, {true, 100, 8}};
    for (const auto& [null, bufferSize, result] : cases) {
        const SymbolPtr handle = SymbolWith(0, 0, "123456");
        Bytes buffer(200, 0xEE);
        EXPECT_EQ(WriteEncodedSymbolToBuf_ECC200(handle.get(), null ? nullptr : buffer.data(),
                                                 bufferSize),
                  result);
        EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xEE), result == 0 ? 100 : 200);
    }
    EXPECT_EQ(WriteEncodedSymbolToBuf_ECC200(nullptr, Bytes(100).data(), 100), 8);
    EXPECT_EQ(WriteEncodedSymbolToBuf_ECC200(SymbolWith(3, -1, "").get(), Bytes(100).data(), 100),
              17);  // no data
    EXPECT_EQ(WriteEncodedSymbolToBMP_ECC200(nullptr, 1, 0, "s.bmp"), 8);
}

// The codeword count reads the data codewords back from the modules (the padding not counted);
// a matrix of no symbol size, or none, is refused. (Every size: tests/cli/data_codewords_test.)
TEST(CodewordCount, CountsOurSymbolsAndRefusesOtherShapes) {
    // Data, size, data codewords before the padding.
    const std::tuple<const char*, int32_t, int32_t> cases[] = {
        {"123456", ECC200_SIZE_AUTO, 3}, {"A", ECC200_SIZE_16X48, 1}, {"", ECC200_SIZE_8X18, 0}};
    for (const auto& [data, size, count] : cases) {
        int32_t status = -1;
        const SymbolPtr handle = SymbolWith(0, size, data);
        const Bytes modules = testing::EncodeToModules(handle.get(), status);
        ASSERT_EQ(status, 0) << data;
        const SymbolSize& used = SizeAt(GetDimension_ECC200(handle.get()));
        EXPECT_EQ(CountDataCodewords_ECC200(modules.data(), used.symbolRows, used.symbolCols),
                  count)
            << data;
    }
    const Bytes modules(ECC200_MAX_MODULES, 1);
    EXPECT_EQ(CountDataCodewords_ECC200(modules.data(), 11, 11), -ECC200_ERR_PARAMETER);
    EXPECT_EQ(CountDataCodewords_ECC200(nullptr, 10, 10), -ECC200_ERR_PARAMETER);
}

// Header, grey palette, and pixels: rows bottom-up, m x m per module inside the margin.
TEST(BmpOutput, HeaderPaletteAndPixels) {
    // Size, module size, quiet zone; width, height, stride and size of the file.
    const std::tuple<int32_t, int, int32_t, uint32_t, uint32_t, uint32_t, uint32_t> cases[] = {
        {0, 4, 8, 56, 56, 56, 4214}, {0, 1, -5, 10, 10, 12, 1198}, {24, 3, 1, 56, 26, 56, 2534}};
    for (const auto& [size, m, quiet, width, height, stride, fileSize] : cases) {
        SCOPED_TRACE(fileSize);
        testing::ScratchDirectory directory;
        const SymbolPtr handle = SymbolWith(0, size, "123456");
        ASSERT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), m, quiet, "s.bmp"), 0);
        const Bytes file = testing::FileBytes("s.bmp");
        ASSERT_EQ(file.size(), fileSize);
        EXPECT_EQ(file[0] + (file[1] << 8), 'B' + ('M' << 8));
        // From offset 2: file size, reserved, pixel offset, header size, width, height, 1 plane
        // and 8 bits, no compression, pixel bytes, resolutions, 256 colours, all important.
        const uint32_t header[] = {fileSize,        0, 1078, 40,  width, height, 0x80001, 0,
                                   stride * height, 0, 0,    256, 0};
        for (uint32_t i = 0; i < 13 + 256; ++i)
            ASSERT_EQ(testing::LittleEndian32(file, 2 + 4 * i),
                      i < 13 ? header[i] : (i - 13) * 0x10101)
                << "field " << i;
        EXPECT_TRUE(testing::BmpShowsModules(file, handle.get(), m, quiet));
    }
}

// Failures create no file.
TEST(BmpOutput, Failures) {
    // Data (10x10), module size, quiet zone, file name; result.
    const std::tuple<const char*, int32_t, int32_t, const char*, int32_t> cases[] = {
        {"1234567", 1, 0, "s.bmp", 1},  // too long for 10x10
        {"123456", 0, 0, "s.bmp", 8},
        {"123456", INT32_MAX / 5, 0, "s.bmp", 8},  // width beyond 32 bits
        {"123456", 1, INT32_MAX / 2, "s.bmp", 8},  // margin beyond 32 bits
        {"123456", 4635, 0, "s.bmp", 8},           // width fits, file size does not
        {"123456", 1, 0, nullptr, 8},
        {"123456", 1, 0, "missing/s.bmp", 18},
#ifndef _WIN32
        {"123456", 1, 0, "/dev/full", 18},  // every write is checked
#endif
    };
    for (const auto& [data, moduleSize, quiet, fileName, result] : cases) {
        testing::ScratchDirectory directory;
        EXPECT_EQ(WriteEncodedSymbolToBMP_ECC200(SymbolWith(0, 0, data).get(), moduleSize, quiet,
                                                 fileName),
                  result)
            << (fileName ? fileName : "null") << " " << moduleSize;
        EXPECT_TRUE(std::filesystem::is_empty("."));
    }
}

// A finished write replaces an existing file, keeping its permission bits, and a new file gets
// 0666 less the umask. Where a child process can set a file size limit (standing in for a full
// disk), a write that fails part-way leaves the old file byte for byte and nothing beside it.
TEST(BmpOutput, WriteReplacesOrKeepsTheOldFile) {
    testing::ScratchDirectory directory;
    const Bytes old(3000, 'o');
    std::ofstream("s.bmp", std::ios::binary).write(reinterpret_cast<const char*>(old.data()), 3000);
    const SymbolPtr handle = SymbolWith(0, 0, "123456");
#ifndef _WIN32
    ASSERT_EQ(chmod("s.bmp", 0640), 0);
    const int result = testing::RunInChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{2048, 2048};
            setrlimit(RLIMIT_FSIZE, &limit);
            return WriteEncodedSymbolToBMP_ECC200(handle.get(), 4, 8, "s.bmp");  // 4214 bytes
        },
        std::chrono::seconds(10));
    EXPECT_EQ(result, 18);
    EXPECT_EQ(testing::FileBytes("s.bmp"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
#endif
    ASSERT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), 4, 8, "s.bmp"), 0);
    ASSERT_EQ(WriteEncodedSymbolToBMP_ECC200(handle.get(), 4, 8, "new.bmp"), 0);
    EXPECT_EQ(testing::FileBytes("s.bmp"), testing::FileBytes("new.bmp"));
    EXPECT_EQ(testing::FileBytes("s.bmp").size(), 4214u);
#ifndef _WIN32
    const mode_t umaskBits = umask(0);
    umask(umaskBits);
    struct stat replaced = {}, created = {};
    ASSERT_EQ(stat("s.bmp", &replaced) + stat("new.bmp", &created), 0);
    EXPECT_EQ(replaced.st_mode & 07777, 0640u);
    EXPECT_EQ(created.st_mode & 07777, 0666u & ~umaskBits);
#endif
}

}  // namespace
}  // namespace ecc200
