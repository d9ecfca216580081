// Distinct symbols on concurrent threads, both marks on: every encode (module buffer or BMP file)
// gives what the same encode gives on one thread, also while user.id is being rewritten underneath.
// Run under ThreadSanitizer by the tsan preset; the iteration counts stay small for that.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::ScratchDirectory;

constexpr int kThreads = 8;
constexpr int kEncodesPerThread = 200;

// Thread t encodes its own data, so each thread's symbols differ in size and content.
std::string DataOf(int t) {
    return "THREAD " + std::to_string(t) +
           std::string(static_cast<std::size_t>(t) * 23, static_cast<char>('a' + t));
}

// A symbol with both marks on (when the identity loads) and the data of thread t.
testing::SymbolPtr MarkedSymbol(int t) {
    auto symbol = testing::MakeSymbol();
    EXPECT_EQ(SetDimension_ECC200(symbol.get(), -1), 0);
    EXPECT_EQ(SetSignUser_ECC200(symbol.get(), 1), 0);
    EXPECT_EQ(SetSignProduct_ECC200(symbol.get(), 1, "PRODUCT-42"), 0);
    EXPECT_EQ(testing::SetData(symbol, DataOf(t)), 0);
    return symbol;
}

// Encode i of thread t: the module buffer, or every fourth time the bytes of the thread's own BMP
// file (concurrent writes of files side by side in one folder).
bool WritesBitmap(int i) {
    return i % 4 == 3;
}

int32_t Encode(SymbolHandle h, int t, int i, std::vector<uint8_t>& result) {
    if (!WritesBitmap(i)) {
        result.assign(ECC200_MAX_MODULES, 0);
        return WriteEncodedSymbolToBuf_ECC200(h, result.data(), ECC200_MAX_MODULES);
    }
    const std::string name = "thread" + std::to_string(t) + ".bmp";
    const int32_t status = WriteEncodedSymbolToBMP_ECC200(h, 2, 4, name.c_str());
    std::ifstream file(name, std::ios::binary);
    result.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return status;
}

// For every thread the buffer and the BMP bytes that one thread alone gets.
struct Expected {
    std::vector<uint8_t> buffer;
    std::vector<uint8_t> bitmap;
    const std::vector<uint8_t>& For(int i) const { return WritesBitmap(i) ? bitmap : buffer; }
};

std::vector<Expected> SingleThreadedResults() {
    std::vector<Expected> results(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        auto symbol = MarkedSymbol(t);
        Expected& expected = results[static_cast<std::size_t>(t)];
        EXPECT_EQ(Encode(symbol.get(), t, 0, expected.buffer), 0);
        EXPECT_EQ(Encode(symbol.get(), t, 3, expected.bitmap), 0);
    }
    return results;
}

// The symbols are made (and their marks switched on) before any thread starts.
std::vector<testing::SymbolPtr> MarkedSymbols() {
    std::vector<testing::SymbolPtr> symbols;
    for (int t = 0; t < kThreads; ++t) symbols.push_back(MarkedSymbol(t));
    return symbols;
}

// Runs the eight encoders at once and counts the encodes whose result is not acceptable: status 0
// with the single-threaded symbol, or (when allowed) status 10 for an identity that was away.
int CountBadEncodes(const std::vector<testing::SymbolPtr>& symbols,
                    const std::vector<Expected>& expected, bool identityMayBeAway) {
    std::atomic<int> bad{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            SymbolHandle symbol = symbols[static_cast<std::size_t>(t)].get();
            std::vector<uint8_t> result;
            for (int i = 0; i < kEncodesPerThread; ++i) {
                const int32_t status = Encode(symbol, t, i, result);
                const bool good = status == 0
                                      ? result == expected[static_cast<std::size_t>(t)].For(i)
                                      : status == 10 && identityMayBeAway;
                if (!good) ++bad;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    return bad.load();
}

TEST(Threads, DistinctSymbolsGiveTheSingleThreadedResults) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const auto expected = SingleThreadedResults();
    EXPECT_EQ(CountBadEncodes(MarkedSymbols(), expected, false), 0);
}

// Rewriting the file empties it for a moment; an encode that meets it then must fail with 10,
// never return a symbol without its marks.
TEST(Threads, RewrittenIdentityNeverDropsAMark) {
    ScratchDirectory dir;
    dir.WriteIdentity(testing::kSampleIdentity);
    const auto expected = SingleThreadedResults();
    const auto symbols = MarkedSymbols();
    std::atomic<bool> stop{false};
    std::thread rewriter([&] {
        while (!stop.load()) {
            dir.WriteIdentity(testing::kSampleIdentity);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    const int bad = CountBadEncodes(symbols, expected, true);
    stop = true;
    rewriter.join();
    EXPECT_EQ(bad, 0);
}

}  // namespace
}  // namespace ecc200
