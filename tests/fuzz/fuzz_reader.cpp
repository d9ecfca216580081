// libFuzzer harness over the reading export. Each input chooses a size (or dimensions that are no
// size) and a matrix: random modules, random modules inside the finder and timing patterns, or a
// symbol of our encoder (random data, options and marks) with random modules flipped; then reads
// it with a random product identifier or the right one, and checks what the header promises: the
// documented statuses only, a well-formed reading, and an undamaged symbol read back exactly.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/symbol_outputs.h"
#include "ecc200.h"
#include "geometry/size_table.h"

namespace {

namespace fs = std::filesystem;

constexpr char kIdentity[] = "ACME**00112233445566778899AA-0123456789abcdefABCDEF";
constexpr char kProductId[] = "FUZZ-PRODUCT";

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "ecc200 reader fuzz check failed: %s\n", what);
    std::abort();
}

// A private working folder holding user.id, removed when the process ends.
class Workspace {
  public:
    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "ecc200-fuzz-read-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr, "no temporary folder");
        path_ = pattern;
        fs::current_path(path_);
        std::ofstream("user.id", std::ios::binary) << kIdentity;
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }

  private:
    fs::path path_;
};

// The finder and timing patterns of a size over a module buffer (top row first).
void DrawPatterns(std::vector<uint8_t>& m, const ecc200::SymbolSize& size) {
    const int32_t cols = size.symbolCols, height = size.regionRows + 2, width = size.regionCols + 2;
    for (int32_t row = 0; row < size.symbolRows; ++row) {
        for (int32_t col = 0; col < cols; ++col) {
            const int32_t r = row % height, c = col % width;
            const int expected = r == height - 1 || c == 0 ? 1
                                 : r == 0                  ? 1 - c % 2
                                 : c == width - 1          ? r % 2
                                                           : -1;
            if (expected >= 0)
                m[static_cast<std::size_t>(row * cols + col)] = static_cast<uint8_t>(expected);
        }
    }
}

struct Encoded {
    std::vector<uint8_t> modules;
    std::vector<uint8_t> data;
    bool product = false;
    int32_t sizeIndex = -1;
};

// A symbol of our encoder at the size, or nothing when the data does not fit it.
Encoded EncodeSymbol(FuzzedDataProvider& input, int32_t sizeIndex) {
    Encoded e;
    const SymbolHandle h = CreateSymbol_ECC200();
    Require(h != nullptr, "no symbol");
    e.data = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<std::size_t>(1, 400));
    if (e.data.empty()) e.data.push_back('A');
    const bool user = input.ConsumeBool();
    e.product = input.ConsumeBool();
    SetScheme_ECC200(h, input.ConsumeIntegralInRange<int32_t>(0, 6));
    SetDimension_ECC200(h, sizeIndex);
    SetOption_ECC200(h, ECC200_OPTION_ENCODATION, input.ConsumeIntegralInRange<int32_t>(0, 1));
    SetOption_ECC200(h, ECC200_OPTION_ECI,
                     input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(0, 999999) : 0);
    SetDataToEncoding_ECC200(h, e.data.data(), static_cast<int32_t>(e.data.size()));
    Require(SetSignUser_ECC200(h, user) == ECC200_OK, "user mark refused");
    Require(SetSignProduct_ECC200(h, e.product, kProductId) == ECC200_OK, "product mark refused");
    int32_t status = -1;
    e.modules = ecc200::testing::EncodeToModules(h, status);
    if (status == ECC200_OK) e.sizeIndex = GetDimension_ECC200(h);
    DeleteSymbol_ECC200(h);
    return e;
}

void CheckReading(const ECC200_Reading& r, int32_t sizeIndex) {
    const ecc200::SymbolSize& size = ecc200::SizeAt(sizeIndex);
    Require(r.dataLength >= 0 && r.dataLength <= ECC200_MAX_READ_LENGTH, "data length");
    Require(r.symbologyId[0] == ']' && r.symbologyId[1] == 'd' && r.symbologyId[2] >= '1' &&
                r.symbologyId[2] <= '6' && r.symbologyId[3] == '\0',
            "symbology identifier");
    Require(r.blockCount == size.blockCount, "block count");
    for (int32_t b = 0; b < r.blockCount; ++b) {
        Require(r.errors[b] >= 0 && r.errors[b] <= size.blockEccCodewords / 2, "errors per block");
    }
    Require(r.userMark >= ECC200_MARK_UNCHECKED && r.userMark <= ECC200_MARK_VALID, "verdict");
    Require(r.userMarkBlocks >= 0 && r.userMarkBlocks <= r.blockCount, "marked blocks");
    Require(r.eci >= -1 && r.eci <= 999999, "eci");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Workspace workspace;
    FuzzedDataProvider input(data, size);
    const auto sizeCount = static_cast<int32_t>(ecc200::SymbolSizeTable.size());
    const int32_t choice = input.ConsumeIntegralInRange<int32_t>(-1, sizeCount - 1);
    const int32_t mode = input.ConsumeIntegralInRange<int32_t>(0, 2);

    int32_t sizeIndex = choice < 0 ? 0 : choice;
    int32_t rows = ecc200::SizeAt(sizeIndex).symbolRows,
            cols = ecc200::SizeAt(sizeIndex).symbolCols;
    if (choice < 0) {  // dimensions that may be no size at all
        rows = input.ConsumeIntegralInRange<int32_t>(-2, 150);
        cols = input.ConsumeIntegralInRange<int32_t>(-2, 150);
    }
    std::vector<uint8_t> modules(static_cast<std::size_t>(ECC200_MAX_MODULES), 0);
    Encoded encoded;
    if (mode == 2) {
        encoded = EncodeSymbol(input, sizeIndex);
        if (encoded.sizeIndex >= 0) {
            rows = ecc200::SizeAt(encoded.sizeIndex).symbolRows;
            cols = ecc200::SizeAt(encoded.sizeIndex).symbolCols;
            sizeIndex = encoded.sizeIndex;
            std::copy(encoded.modules.begin(), encoded.modules.end(), modules.begin());
        }
    } else if (rows > 0 && cols > 0 && rows * cols <= ECC200_MAX_MODULES) {
        for (int32_t i = 0; i < rows * cols; ++i) {
            modules[static_cast<std::size_t>(i)] = input.ConsumeIntegral<uint8_t>() & 1;
        }
        if (mode == 1 && choice >= 0) DrawPatterns(modules, ecc200::SizeAt(sizeIndex));
    }
    const int32_t flips = input.ConsumeIntegralInRange<int32_t>(0, 8);
    for (int32_t k = 0; k < flips && rows > 0 && cols > 0 && rows * cols <= ECC200_MAX_MODULES;
         ++k) {
        const auto at = input.ConsumeIntegralInRange<int32_t>(0, rows * cols - 1);
        modules[static_cast<std::size_t>(at)] ^= 1;
    }
    const std::string productId = encoded.product && input.ConsumeBool()
                                      ? std::string(kProductId)
                                      : input.ConsumeRandomLengthString(120);
    const bool withProduct = input.ConsumeBool();

    ECC200_Reading reading;
    const int32_t status = ReadMatrix_ECC200(
        modules.data(), rows, cols, withProduct ? productId.c_str() : nullptr, nullptr, &reading);
    Require(
        status == ECC200_OK || status == ECC200_ERR_PARAMETER || status == ECC200_ERR_UNREADABLE,
        "undocumented status");
    Require(reading.rows == rows && reading.cols == cols, "dimensions not kept");
    if (status == ECC200_OK) CheckReading(reading, sizeIndex);

    // An undamaged symbol of ours reads back exactly when the product mark is lifted as made.
    const bool keyMatches =
        withProduct ? productId == kProductId && encoded.product : !encoded.product;
    if (mode == 2 && encoded.sizeIndex >= 0 && flips == 0 && keyMatches) {
        Require(status == ECC200_OK, "own symbol unreadable");
        Require(
            std::vector<uint8_t>(reading.data, reading.data + reading.dataLength) == encoded.data,
            "own symbol misread");
    }
    return 0;
}
