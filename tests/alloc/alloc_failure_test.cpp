// Allocation failures. This executable is linked with --wrap for malloc, calloc, free, fopen and
// fdopen (both allocate the stream), so the wrappers below see every allocation the library makes.
// The test fails the n-th allocation of a whole symbol lifetime for every n in turn: each failure
// must surface as NULL or a documented status, leak nothing, and leave the symbol usable.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.h"

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void __real_free(void* pointer);
std::FILE* __real_fopen(const char* path, const char* mode);
std::FILE* __real_fdopen(int fd, const char* mode);
}

namespace {

// Counts only while watching, when nothing but library code runs.
struct AllocationWatch {
    bool watching = false;
    long seen = 0;        // allocations attempted while watching
    long failAt = -1;     // the attempt to refuse, counted from 0
    bool failed = false;  // whether that attempt has come
    long live = 0;        // blocks allocated and not yet freed while watching

    bool Refuse() { return watching && seen++ == failAt && (failed = true); }
    void* Counted(void* pointer) {
        live += watching && pointer != nullptr;
        return pointer;
    }
} watch;

}  // namespace

extern "C" {
void* __wrap_malloc(std::size_t size) {
    return watch.Refuse() ? nullptr : watch.Counted(__real_malloc(size));
}
void* __wrap_calloc(std::size_t count, std::size_t size) {
    return watch.Refuse() ? nullptr : watch.Counted(__real_calloc(count, size));
}
void __wrap_free(void* pointer) {
    watch.live -= watch.watching && pointer != nullptr;
    __real_free(pointer);
}
std::FILE* __wrap_fopen(const char* path, const char* mode) {
    return watch.Refuse() ? (errno = ENOMEM, nullptr) : __real_fopen(path, mode);
}
std::FILE* __wrap_fdopen(int fd, const char* mode) {
    return watch.Refuse() ? (errno = ENOMEM, nullptr) : __real_fdopen(fd, mode);
}
}  // extern "C"

namespace ecc200 {
namespace {

// The encodes' results: module buffers and BMP files, in order.
using Outputs = std::vector<std::vector<uint8_t>>;

// The calls of the lifetime walked, in order; the second data needs a larger size's map. When an
// allocation in one fails it must give 18 (memory, or a file that cannot be written) or 10 (an
// identity that cannot be read).
std::vector<std::function<int32_t(SymbolHandle)>> Lifetime(Outputs& outputs) {
    // Both outputs, kept only when both are written: a failed call is made again.
    auto encode = [&outputs](SymbolHandle h) {
        int32_t status = 0;
        auto modules = testing::EncodeToModules(h, status);
        if (status == 0) status = WriteEncodedSymbolToBMP_ECC200(h, 2, 4, "out.bmp");
        if (status != 0) return status;
        outputs.push_back(std::move(modules));
        outputs.push_back(testing::FileBytes("out.bmp"));
        return status;
    };
    return {[](SymbolHandle h) { return SetSignUser_ECC200(h, 1); },
            [](SymbolHandle h) { return SetSignProduct_ECC200(h, 1, "P-42"); },
            [](SymbolHandle h) { return SetDimension_ECC200(h, ECC200_SIZE_AUTO); },
            [](SymbolHandle h) { return testing::SetData(h, "SERIAL 0001"); },
            encode,
            [](SymbolHandle h) { return testing::SetData(h, std::string(710, 'x')); },
            encode};
}

// The entries of a folder: the process's open files in /proc/self/fd.
long EntriesIn(const std::filesystem::path& folder) {
    const std::filesystem::directory_iterator entries(folder);
    return std::distance(begin(entries), end(entries));
}

// Runs the lifetime with allocation failAt refused (-1: none); returns whether it was reached.
bool RunLifetime(long failAt, Outputs& outputs) {
    const long descriptors = EntriesIn("/proc/self/fd");
    watch = {.watching = true, .failAt = failAt};
    SymbolHandle h = CreateSymbol_ECC200();
    if (watch.failed) {
        EXPECT_EQ(h, nullptr) << "creation succeeded although its allocation failed";
        h = CreateSymbol_ECC200();
    }
    EXPECT_NE(h, nullptr);
    const auto calls = Lifetime(outputs);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const bool failedBefore = watch.failed;
        const int32_t status = calls[i](h);
        if (watch.failed && !failedBefore) {
            EXPECT_TRUE(status == 10 || status == 18)
                << "call " << i << " gave " << status << " when allocation " << failAt << " failed";
            EXPECT_EQ(calls[i](h), 0) << "call " << i << " failed again once memory was there";
        } else {
            EXPECT_EQ(status, 0) << "call " << i;
        }
    }
    DeleteSymbol_ECC200(h);
    watch.watching = false;
    EXPECT_EQ(watch.live, 0) << "blocks left allocated when allocation " << failAt << " failed";
    EXPECT_EQ(EntriesIn("/proc/self/fd"), descriptors)
        << "files left open when allocation " << failAt << " failed";
    return watch.failed;
}

TEST(AllocationFailure, EveryAllocationOfALifetimeFailsCleanly) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    Outputs reference;
    RunLifetime(-1, reference);
    const long allocations = watch.seen;
    // At least the symbol, the mark state, two placement maps and each BMP output's pixel rows.
    ASSERT_GE(allocations, 8) << "the wrappers do not see the library's allocations";

    for (long n = 0; n < allocations; ++n) {
        Outputs outputs;
        ASSERT_TRUE(RunLifetime(n, outputs)) << "allocation " << n << " never came";
        EXPECT_EQ(outputs, reference) << "results differ after allocation " << n << " failed";
        EXPECT_EQ(EntriesIn("."), 2)  // user.id and out.bmp
            << "stray files after allocation " << n << " failed";
    }
}

}  // namespace
}  // namespace ecc200

namespace ecc200 {
namespace {

// A read allocates nothing, with both marks lifted and checked (the identity file is read
// through a descriptor, not a stream).
TEST(AllocationFailure, ReadingAllocatesNothing) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const auto symbol = testing::SymbolWith(0, -1, "Read without allocating 0123456789");
    ASSERT_EQ(SetSignUser_ECC200(symbol.get(), 1) + SetSignProduct_ECC200(symbol.get(), 1, "P-9"),
              0);
    int32_t status = -1;
    const auto modules = testing::EncodeToModules(symbol.get(), status);
    ASSERT_EQ(status, 0);
    const int32_t side = SizeAt(GetDimension_ECC200(symbol.get())).symbolRows;
    ECC200_Reading reading;
    watch = {};
    watch.watching = true;
    status = ReadMatrix_ECC200(modules.data(), side, side, "P-9", nullptr, &reading);
    watch.watching = false;
    EXPECT_EQ(std::tuple(status, reading.userMark, watch.seen),
              std::tuple(0, ECC200_MARK_VALID, 0L));
}

}  // namespace
}  // namespace ecc200
