// Distinct symbols on concurrent threads, both marks on: every encode (module buffer or BMP file)
// gives what the same encode gives on one thread, also while user.id is being rewritten underneath.
// Run under ThreadSanitizer by the tsan preset; the iteration counts stay small for that.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace ecc200 {
namespace {

constexpr int kThreads = 8;
constexpr int kEncodesPerThread = 200;

// Encode i of thread t: the module buffer, or every fourth time the bytes of the thread's own BMP
// file (concurrent writes of files side by side in one folder).
int32_t Encode(SymbolHandle h, int t, int i, std::vector<uint8_t>& result) {
    int32_t status = 0;
    if (i % 4 != 3) {
        result = testing::EncodeToModules(h, status);
        return status;
    }
    const std::string name = "thread" + std::to_string(t) + ".bmp";
    status = WriteEncodedSymbolToBMP_ECC200(h, 2, 4, name.c_str());
    result = testing::FileBytes(name);
    return status;
}

// Eight encoders at once, each result compared with what one thread alone gets: status 0 with
// the same bytes, or, while user.id is being rewritten (which empties it for a moment), status 10
// for an identity that was away, never a symbol without its marks.
TEST(Threads, DistinctSymbolsGiveTheSingleThreadedResults) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    std::vector<testing::SymbolPtr> symbols;
    std::vector<std::vector<uint8_t>> expected;  // buffer and bitmap of each thread
    for (int t = 0; t < kThreads; ++t) {
        // Both marks on, and data of the thread's own, so that the symbols differ in size.
        const auto data = std::string(static_cast<std::size_t>(t) * 23, static_cast<char>('a' + t));
        const auto& symbol = symbols.emplace_back(testing::SymbolWith(0, -1, "THREAD " + data));
        EXPECT_EQ(SetSignUser_ECC200(symbol.get(), 1), 0);
        EXPECT_EQ(SetSignProduct_ECC200(symbol.get(), 1, "PRODUCT-42"), 0);
        for (const int i : {0, 3})
            EXPECT_EQ(Encode(symbol.get(), t, i, expected.emplace_back()), 0);
    }
    for (const bool rewrite : {false, true}) {
        std::atomic<bool> stop{false};
        std::atomic<int> bad{0};
        std::thread rewriter([&] {
            while (rewrite && !stop.load()) {
                dir.WriteIdentity(testing::kSampleIdentity);
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        });
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                std::vector<uint8_t> result;
                for (int i = 0; i < kEncodesPerThread; ++i) {
                    const auto k = static_cast<std::size_t>(2 * t + (i % 4 == 3));
                    const int32_t status = Encode(symbols[k / 2].get(), t, i, result);
                    bad += status == 0 ? result != expected[k] : status != 10 || !rewrite;
                }
            });
        }
        for (auto& thread : threads) thread.join();
        stop = true;
        rewriter.join();
        EXPECT_EQ(bad.load(), 0) << (rewrite ? "while user.id is rewritten" : "");
    }
}

// Reads share nothing: eight threads reading marked symbols at once get what one thread gets.
TEST(Threads, ConcurrentReadsGiveTheSingleThreadedReadings) {
    testing::ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    std::vector<std::vector<uint8_t>> matrices;
    std::vector<int32_t> sides;
    for (int t = 0; t < kThreads; ++t) {
        const auto data =
            std::string(static_cast<std::size_t>(t) * 31 + 1, static_cast<char>('A' + t));
        const auto symbol = testing::SymbolWith(0, -1, data);
        EXPECT_EQ(
            SetSignUser_ECC200(symbol.get(), 1) + SetSignProduct_ECC200(symbol.get(), 1, "P-7"), 0);
        int32_t status = -1;
        matrices.push_back(testing::EncodeToModules(symbol.get(), status));
        EXPECT_EQ(status, 0);
        sides.push_back(SizeAt(GetDimension_ECC200(symbol.get())).symbolRows);
    }
    std::atomic<int> bad{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const auto k = static_cast<std::size_t>(t);
            ECC200_Reading reading;
            for (int i = 0; i < kEncodesPerThread / 4; ++i) {
                const int32_t status = ReadMatrix_ECC200(matrices[k].data(), sides[k], sides[k],
                                                         "P-7", nullptr, &reading);
                bad += status != 0 || reading.userMark != ECC200_MARK_VALID ||
                       reading.dataLength != t * 31 + 1 || reading.data[0] != 'A' + t;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(bad.load(), 0);
}

}  // namespace
}  // namespace ecc200
