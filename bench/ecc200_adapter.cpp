#include "ecc200_adapter.h"

#include <ecc200.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "symbol_sizes.h"
#include "verification.h"

namespace bench {

const char* const kBenchProductId = "BENCH-PRODUCT-0001";
const char* const kBenchUserIdentity =
    "BENCH*USER*00112233445566778899AA-BBCCDDEEFF0011223344556677";

namespace {

constexpr const char* kBmpFile = "bench-symbol.bmp";
constexpr int kBmpModuleSize = 4;
constexpr int kBmpQuietZone = 8;

struct SymbolDeleter {
    void operator()(ECC200_Symbol* symbol) const { DeleteSymbol_ECC200(symbol); }
};
using Symbol = std::unique_ptr<ECC200_Symbol, SymbolDeleter>;

Symbol NewSymbol(int scheme, int sizeIndex) {
    Symbol symbol(CreateSymbol_ECC200());
    if (symbol) {
        SetScheme_ECC200(symbol.get(), scheme);
        SetDimension_ECC200(symbol.get(), sizeIndex);
    }
    return symbol;
}

std::int32_t Length(const Bytes& data) {
    return static_cast<std::int32_t>(data.size());
}

// Reads back the module matrix of the last encode of the symbol.
std::optional<ModuleMatrix> MatrixOf(SymbolHandle symbol, const std::vector<std::uint8_t>& buffer) {
    const int index = GetDimension_ECC200(symbol);
    if (index < 0 || index >= static_cast<int>(kSymbolSizes.size())) return std::nullopt;
    const SymbolSize& size = kSymbolSizes[static_cast<std::size_t>(index)];
    ModuleMatrix matrix{size.rows, size.cols, {}};
    matrix.modules.assign(buffer.begin(), buffer.begin() + size.rows * size.cols);
    return matrix;
}

// An 8-bit BMP as the library writes it: palette of 256 entries, rows bottom-up, 4-byte stride.
std::optional<Image> ReadBmp(const char* path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(file[at]) |
               static_cast<std::uint32_t>(file[at + 1]) << 8 |
               static_cast<std::uint32_t>(file[at + 2]) << 16 |
               static_cast<std::uint32_t>(file[at + 3]) << 24;
    };
    if (file.size() < 1078 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    Image image;
    image.width = static_cast<int>(u32(18));
    image.height = static_cast<int>(u32(22));
    const std::size_t offset = u32(10);
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    const std::size_t stride = (width + 3) & ~std::size_t{3};
    if (file.size() < offset + stride * height) return std::nullopt;
    image.pixels.resize(width * height);
    for (std::size_t y = 0; y < height; ++y) {
        const auto from =
            file.begin() + static_cast<std::ptrdiff_t>(offset + (height - 1 - y) * stride);
        std::copy_n(from, width, image.pixels.begin() + static_cast<std::ptrdiff_t>(y * width));
    }
    return image;
}

std::string StatusText(int status) {
    return "status " + std::to_string(status);
}

class Ecc200Job final : public Job {
  public:
    Ecc200Job(Ecc200Path path, int sizeIndex, const Bytes& data)
        : path_(path),
          data_(data),
          symbol_(NewSymbol(ECC200_SCHEME_AUTO, sizeIndex)),
          buffer_(ECC200_MAX_MODULES) {
        if (symbol_) switchStatus_ = SwitchMarkOn();
    }

    bool Run() override { return Encode() == ECC200_OK; }

    Verdict Verify() override {
        if (!symbol_) return Verdict::CannotEncode("no symbol");
        if (switchStatus_ != ECC200_OK) {
            return Verdict::CannotEncode("mark switch " + StatusText(switchStatus_));
        }
        const int status = Encode();
        if (status != ECC200_OK) return Verdict::CannotEncode(StatusText(status));
        if (path_ == Ecc200Path::kBmp) return VerifyBmp();
        const std::optional<ModuleMatrix> matrix = MatrixOf(symbol_.get(), buffer_);
        if (!matrix) return Verdict::Wrong("no size reported");
        if (path_ == Ecc200Path::kProductMark) return VerifyProductMark(*matrix);
        return CheckDecodesTo(*matrix, data_);
    }

  private:
    int SwitchMarkOn() {
        if (path_ == Ecc200Path::kSmallest) {
            return SetOption_ECC200(symbol_.get(), ECC200_OPTION_ENCODATION,
                                    ECC200_ENCODATION_SMALLEST);
        }
        if (path_ == Ecc200Path::kUserMark) return SetSignUser_ECC200(symbol_.get(), 1);
        if (path_ == Ecc200Path::kProductMark) {
            return SetSignProduct_ECC200(symbol_.get(), 1, kBenchProductId);
        }
        return ECC200_OK;
    }

    int Encode() {
        SymbolHandle symbol = symbol_.get();
        const int status = SetDataToEncoding_ECC200(symbol, data_.data(), Length(data_));
        if (status != ECC200_OK) return status;
        if (path_ == Ecc200Path::kBmp) {
            return WriteEncodedSymbolToBMP_ECC200(symbol, kBmpModuleSize, kBmpQuietZone, kBmpFile);
        }
        return WriteEncodedSymbolToBuf_ECC200(symbol, buffer_.data(),
                                              static_cast<std::int32_t>(buffer_.size()));
    }

    Verdict VerifyBmp() const {
        const std::optional<Image> image = ReadBmp(kBmpFile);
        if (!image) return Verdict::Wrong("BMP file unreadable");
        const SymbolSize& size =
            kSymbolSizes[static_cast<std::size_t>(GetDimension_ECC200(symbol_.get()))];
        return CheckDecodesTo(*image, data_, SizeName(size.rows, size.cols));
    }

    // The product mark makes the symbol unreadable on purpose: it must succeed and change
    // modules of the unmarked symbol of the same data.
    Verdict VerifyProductMark(const ModuleMatrix& marked) const {
        Ecc200Job plain(Ecc200Path::kBuffer, ECC200_SIZE_AUTO, data_);
        const Verdict plainVerdict = plain.Verify();
        if (!plainVerdict.correct()) return plainVerdict;
        const std::optional<ModuleMatrix> unmarked = MatrixOf(plain.symbol_.get(), plain.buffer_);
        if (!unmarked || unmarked->rows != marked.rows || unmarked->cols != marked.cols) {
            return Verdict::Wrong("marked symbol has another size");
        }
        if (unmarked->modules == marked.modules) return Verdict::Wrong("mark changed nothing");
        return Verdict::Correct(SizeName(marked.rows, marked.cols));
    }

    Ecc200Path path_;
    Bytes data_;
    Symbol symbol_;
    std::vector<std::uint8_t> buffer_;
    int switchStatus_ = ECC200_OK;
};

}  // namespace

std::string Ecc200Encoder::Name() const {
    switch (path_) {
        case Ecc200Path::kBuffer:
            return "ecc200";
        case Ecc200Path::kSmallest:
            return "ecc200 smallest";
        case Ecc200Path::kBmp:
            return "ecc200 BMP";
        case Ecc200Path::kUserMark:
            return "ecc200 user mark";
        case Ecc200Path::kProductMark:
            return "ecc200 product mark";
    }
    return "ecc200";
}

std::unique_ptr<Job> Ecc200Encoder::Prepare(const Bytes& data) const {
    return std::make_unique<Ecc200Job>(path_, ECC200_SIZE_AUTO, data);
}

std::string Ecc200FixedSizeEncoder::Name() const {
    const SymbolSize& size = kSymbolSizes[static_cast<std::size_t>(sizeIndex_)];
    return "ecc200 " + SizeName(size.rows, size.cols);
}

std::unique_ptr<Job> Ecc200FixedSizeEncoder::Prepare(const Bytes& data) const {
    return std::make_unique<Ecc200Job>(Ecc200Path::kBuffer, sizeIndex_, data);
}

Ecc200Probe ProbeEcc200(const Bytes& data) {
    const Symbol symbol = NewSymbol(ECC200_SCHEME_AUTO, ECC200_SIZE_AUTO);
    if (!symbol) return {ECC200_ERR_INTERNAL, -1};
    std::vector<std::uint8_t> buffer(ECC200_MAX_MODULES);
    int status = SetDataToEncoding_ECC200(symbol.get(), data.data(), Length(data));
    if (status == ECC200_OK) {
        status = WriteEncodedSymbolToBuf_ECC200(symbol.get(), buffer.data(),
                                                static_cast<std::int32_t>(buffer.size()));
    }
    return {status, status == ECC200_OK ? GetDimension_ECC200(symbol.get()) : -1};
}

}  // namespace bench
