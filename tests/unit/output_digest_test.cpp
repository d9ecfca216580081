// Pins the output of a fixed corpus: every scheme (automatic included) at every size and at the
// automatic size, short and full symbols, failed encodes, and both marks. Each case folds what the
// exports show of every encode (statuses, scheme and size reported, the module buffer, and that
// nothing is written past the symbol's modules) into one FNV-1a digest, so a change that moves a
// single module anywhere fails here. The digests were recorded from the exports of an encoder
// whose earlier digests of the whole working state (recorded before its speed work, and again when
// the automatic scheme began to mend encodes that the look-ahead's stream does not fit) still
// held. Every case runs on one long-lived symbol, as callers do.
//
// A digest names no symbol. With ECC200_DIGEST_LOG set to a file name, every encode is also
// written there as one line (case, settings, length, status, size, the modules row by row); a
// diff of the logs of this tree and of the last commit that passed shows which symbol and which
// module moved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "geometry/size_table.h"
#include "support/test_support.h"

namespace ecc200 {
namespace {

using testing::MakeSymbol;
using testing::ScratchDirectory;
using testing::SymbolPtr;

struct Fnv1a {
    void Add(const uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) value = (value ^ bytes[i]) * 0x100000001B3ull;
    }
    void Add(int64_t number) {
        for (int shift = 0; shift < 64; shift += 8) {
            const auto byte = static_cast<uint8_t>(static_cast<uint64_t>(number) >> shift);
            Add(&byte, 1);
        }
    }
    uint64_t value = 0xCBF29CE484222325ull;
};

enum class Bytes { Digits, Upper, Lower, X12, Edifact, Binary, Mixed };

// The first `length` bytes of a seeded stream of the class. Mixed switches class every 1 to 12
// bytes, so the automatic encoder meets every kind of run.
std::string Corpus(Bytes kind, int32_t length) {
    uint64_t state = 0x5EED0000u + static_cast<uint64_t>(kind);
    auto next = [&state] {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    auto pick = [&next](const std::string& alphabet) {
        return alphabet[static_cast<std::size_t>(next() % alphabet.size())];
    };
    std::string edifact;
    for (char c = 32; c <= 94; ++c) edifact.push_back(c);
    const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    const std::string alphabets[] = {"0123456789", upper, "abcdefghijklmnopqrstuvwxyz0123456789 ",
                                     upper + "\r*>", edifact};

    std::string bytes;
    Bytes segment = kind;
    int32_t segmentLeft = 0;
    while (static_cast<int32_t>(bytes.size()) < length) {
        if (kind == Bytes::Mixed && segmentLeft-- == 0) {
            segment = static_cast<Bytes>(next() % 6);
            segmentLeft = static_cast<int32_t>(next() % 12);
        }
        const auto alphabet = static_cast<std::size_t>(segment);
        bytes.push_back(segment == Bytes::Binary ? static_cast<char>(next())
                                                 : pick(alphabets[alphabet]));
    }
    return bytes;
}

// The per-encode log that ECC200_DIGEST_LOG asks for (see the top of the file), or none.
std::ofstream& DigestLog() {
    static std::ofstream log = [] {
        const char* path = std::getenv("ECC200_DIGEST_LOG");
        return path != nullptr ? std::ofstream(path) : std::ofstream();
    }();
    return log;
}

void LogEncode(const SymbolPtr& handle, int32_t length, int32_t status, int32_t rows, int32_t cols,
               const std::vector<uint8_t>& buffer) {
    std::ofstream& log = DigestLog();
    if (!log.is_open()) return;
    log << ::testing::UnitTest::GetInstance()->current_test_info()->name() << " scheme "
        << GetScheme_ECC200(handle.get()) << " length " << length << " status " << status
        << " size " << GetDimension_ECC200(handle.get()) << ":";
    for (int32_t r = 0; r < rows; ++r) {
        log << ' ';
        for (int32_t c = 0; c < cols; ++c)
            log << (buffer[static_cast<std::size_t>(r * cols + c)] ? '#' : '.');
    }
    log << '\n';
}

// Encodes the first `length` bytes of the corpus and folds what the exports show of it into
// digest. Returns whether the encode succeeded.
bool EncodeInto(Fnv1a& digest, const SymbolPtr& handle, Bytes kind, int32_t length) {
    digest.Add(length);
    digest.Add(testing::SetData(handle.get(), Corpus(kind, length)));
    constexpr uint8_t kUnwritten = 0xA5;
    std::vector<uint8_t> buffer(kMatrixSide * kMatrixSide, kUnwritten);
    const int32_t status = WriteEncodedSymbolToBuf_ECC200(handle.get(), buffer.data(),
                                                          static_cast<int32_t>(buffer.size()));
    const int32_t size = GetDimension_ECC200(handle.get());
    const int32_t rows = status == 0 ? SizeAt(size).symbolRows : 0;
    const int32_t cols = status == 0 ? SizeAt(size).symbolCols : 0;
    digest.Add(status);
    digest.Add(GetScheme_ECC200(handle.get()));
    digest.Add(size);
    const auto modules = static_cast<std::size_t>(rows * cols);
    digest.Add(buffer.data(), modules);
    EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(modules), buffer.end(),
                            [](uint8_t b) { return b == kUnwritten; }))
        << "written past the modules: length " << length << ", size " << size;
    LogEncode(handle, length, status, rows, cols, buffer);
    return status == 0;
}

// The longest corpus prefix that encodes at the symbol's settings (by bisection, each probe
// folded into digest), or 0 when not even one byte does.
int32_t LongestEncodable(Fnv1a& digest, const SymbolPtr& handle, Bytes kind) {
    int32_t fits = 0;
    int32_t tooLong = kMaxDataLength + 1;
    while (tooLong - fits > 1) {
        const int32_t middle = (fits + tooLong) / 2;
        std::vector<uint8_t> buffer(kMatrixSide * kMatrixSide);
        const bool encoded = testing::SetData(handle.get(), Corpus(kind, middle)) == 0 &&
                             WriteEncodedSymbolToBuf_ECC200(handle.get(), buffer.data(),
                                                            kMatrixSide * kMatrixSide) == 0;
        digest.Add(encoded);
        (encoded ? fits : tooLong) = middle;
    }
    return fits;
}

// At the automatic size and at every ISO/IEC 16022 size: one byte, the longest input that fits
// and half of it; unless `few`, also a few more short inputs and one byte more than fits. (The
// DMRE sizes are compared module for module with a peer encoder's in tests/reader.)
void EncodeEverySize(Fnv1a& digest, const SymbolPtr& handle, Bytes kind, bool few = false) {
    for (int32_t size = kAutomaticSize; size < kIsoSizeCount; ++size) {
        ASSERT_EQ(SetDimension_ECC200(handle.get(), size), 0);
        const int32_t longest = LongestEncodable(digest, handle, kind);
        const std::vector<int32_t> lengths =
            few ? std::vector{1, longest / 2, longest}
                : std::vector{1, 2, 3, 5, longest / 2, longest, longest + 1};
        for (const int32_t length : lengths) {
            if (length >= 1 && length <= kMaxDataLength) EncodeInto(digest, handle, kind, length);
        }
    }
}

struct DigestCase {
    const char* name;
    int32_t scheme;
    Bytes kind;
    uint64_t digest;
};

class OutputDigest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(OutputDigest, MatchesTheRecordedModules) {
    const DigestCase& c = GetParam();
    const SymbolPtr handle = MakeSymbol();
    ASSERT_EQ(SetScheme_ECC200(handle.get(), c.scheme), 0);
    Fnv1a digest;
    EncodeEverySize(digest, handle, c.kind);
    EXPECT_EQ(digest.value, c.digest)
        << std::hex << "0x" << digest.value << "; ECC200_DIGEST_LOG shows which symbol moved";
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, OutputDigest,
    ::testing::Values(
        DigestCase{"ascii", ECC200_SCHEME_ASCII, Bytes::Mixed, 0x62565f24f46607a7ull},
        DigestCase{"c40", ECC200_SCHEME_C40, Bytes::Mixed, 0xf9fab3e69ee8826eull},
        DigestCase{"text", ECC200_SCHEME_TEXT, Bytes::Mixed, 0x3d97135f8a8515c1ull},
        DigestCase{"x12", ECC200_SCHEME_X12, Bytes::X12, 0x348a3907cdba468dull},
        DigestCase{"edifact", ECC200_SCHEME_EDIFACT, Bytes::Edifact, 0x536db649a427837full},
        DigestCase{"edifactMixed", ECC200_SCHEME_EDIFACT, Bytes::Mixed, 0xf508b3ad8584b552ull},
        DigestCase{"base256", ECC200_SCHEME_BASE256, Bytes::Binary, 0x9c7c55efd284d5b8ull},
        DigestCase{"autoDigits", ECC200_SCHEME_AUTO, Bytes::Digits, 0xd5c3a77288cd1056ull},
        DigestCase{"autoUpper", ECC200_SCHEME_AUTO, Bytes::Upper, 0xf906cdecc31e7f3cull},
        DigestCase{"autoLower", ECC200_SCHEME_AUTO, Bytes::Lower, 0x2524448e17b087aaull},
        DigestCase{"autoX12", ECC200_SCHEME_AUTO, Bytes::X12, 0x77ff708ce1ac3f5aull},
        DigestCase{"autoEdifact", ECC200_SCHEME_AUTO, Bytes::Edifact, 0xa1cf02419cae6a2full},
        DigestCase{"autoBinary", ECC200_SCHEME_AUTO, Bytes::Binary, 0xf5cd885cafe9d878ull},
        DigestCase{"autoMixed", ECC200_SCHEME_AUTO, Bytes::Mixed, 0x449c627880532321ull}),
    [](const auto& c) { return std::string(c.param.name); });

// Both marks, alone and together, at every size: the user mark on the codewords, the product
// mark on the mapping matrix. A mark switched on stays on for the encodes that follow.
TEST(OutputDigest, MarkedSymbolsMatchTheRecordedModules) {
    ScratchDirectory directory;
    directory.WriteIdentity(testing::kSampleIdentity);
    const SymbolPtr handle = MakeSymbol();
    Fnv1a digest;
    for (const int marks : {1, 2, 3}) {
        ASSERT_EQ(SetSignUser_ECC200(handle.get(), (marks & 1) != 0), 0);
        ASSERT_EQ(SetSignProduct_ECC200(handle.get(), (marks & 2) != 0, "PRODUCT-0042"), 0);
        EncodeEverySize(digest, handle, Bytes::Mixed, true);
    }
    EXPECT_EQ(digest.value, 0x5389adf682e11ab1ull)
        << std::hex << "0x" << digest.value << "; ECC200_DIGEST_LOG shows which symbol moved";
}

// A few whole symbols as rows of '#' (dark) and '.' (light), top row first: beside the digests
// they show what moved when an output changes: 10x10 at the automatic size and the two-region
// 8x32.
TEST(OutputDigest, ReadableSymbols) {
    const struct {
        int32_t scheme, size;
        const char* data;
        const char* rows;
    } cases[] = {{ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO, "123456",
                  "#.#.#.#.#.\n"
                  "##..#.##.#\n"
                  "##.....#..\n"
                  "##...###.#\n"
                  "##....#...\n"
                  "#.....####\n"
                  "###.##....\n"
                  "####.##..#\n"
                  "#..###.#..\n"
                  "##########\n"},
                 {ECC200_SCHEME_AUTO, ECC200_SIZE_8X32, "AB12",
                  "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.\n"
                  "#.###......##.###.....#..##....#\n"
                  "#....#..####.##.#.#.#..####.##..\n"
                  "#.####.#.....####...#.#..#.#####\n"
                  "#....###..#.##..#..##..#.#.##...\n"
                  "##..##...#.#.####.#.##...###..##\n"
                  "#..##..##.......##.#.#.#######..\n"
                  "################################\n"}};
    for (const auto& c : cases) {
        const SymbolPtr handle = testing::SymbolWith(c.scheme, c.size, c.data);
        int32_t status = -1;
        const std::vector<uint8_t> modules = testing::EncodeToModules(handle.get(), status);
        const int32_t cols = SizeAt(GetDimension_ECC200(handle.get())).symbolCols;
        std::string rows;
        for (std::size_t i = 0; i < modules.size(); ++i) {
            rows += modules[i] ? '#' : '.';
            if ((i + 1) % static_cast<std::size_t>(cols) == 0) rows += '\n';
        }
        EXPECT_EQ(rows, c.rows) << c.data << ", status " << status;
    }
}

}  // namespace
}  // namespace ecc200
