#include "zint_adapter.h"

#include <zint.h>

#include "symbol_sizes.h"
#include "verification.h"

namespace bench {
namespace {

struct ZintDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

// encoded_data holds one bit per module, eight modules per byte, lowest bit first.
ModuleMatrix ModulesOf(const zint_symbol& symbol) {
    ModuleMatrix matrix{symbol.rows, symbol.width, {}};
    matrix.modules.reserve(static_cast<std::size_t>(matrix.rows * matrix.cols));
    for (int r = 0; r < matrix.rows; ++r) {
        for (int c = 0; c < matrix.cols; ++c) {
            const unsigned byte = symbol.encoded_data[r][c >> 3];
            matrix.modules.push_back(static_cast<std::uint8_t>((byte >> (c & 7)) & 1U));
        }
    }
    return matrix;
}

// One long-lived zint symbol, cleared before every encode as its API asks for reuse.
class ZintJob final : public Job {
  public:
    ZintJob(bool fast, const Bytes& data) : data_(data), symbol_(ZBarcode_Create()) {
        if (!symbol_) return;
        symbol_->symbology = BARCODE_DATAMATRIX;
        symbol_->option_3 = DM_SQUARE;
        symbol_->input_mode = fast ? (DATA_MODE | FAST_MODE) : DATA_MODE;
    }

    bool Run() override { return Encode() < ZINT_ERROR; }

    Verdict Verify() override {
        if (!symbol_) return Verdict::CannotEncode("no symbol");
        const int result = Encode();
        if (result >= ZINT_ERROR) {
            return Verdict::CannotEncode("error " + std::to_string(result) + ": " +
                                         symbol_->errtxt);
        }
        return CheckDecodesTo(Modules(), data_);
    }

  private:
    int Encode() {
        ZBarcode_Clear(symbol_.get());
        return ZBarcode_Encode(symbol_.get(), data_.data(), static_cast<int>(data_.size()));
    }

    ModuleMatrix Modules() const { return ModulesOf(*symbol_); }

    Bytes data_;
    std::unique_ptr<zint_symbol, ZintDeleter> symbol_;
};

}  // namespace

std::unique_ptr<Job> ZintEncoder::Prepare(const Bytes& data) const {
    return std::make_unique<ZintJob>(fast_, data);
}

std::optional<ModuleMatrix> ZintSymbol(const Sample& sample, Shape shape) {
    const std::unique_ptr<zint_symbol, ZintDeleter> symbol(ZBarcode_Create());
    if (!symbol) return std::nullopt;
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->option_3 = shape == Shape::kSquare ? DM_SQUARE : 0;
    int result = 0;
    if (sample.gs1()) {
        symbol->input_mode = GS1_MODE | GS1PARENS_MODE;
        const std::string& text = sample.gs1Bracketed;
        result = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(text.data()),
                                 static_cast<int>(text.size()));
    } else {
        symbol->input_mode = DATA_MODE;
        result =
            ZBarcode_Encode(symbol.get(), sample.data.data(), static_cast<int>(sample.data.size()));
    }
    if (result >= ZINT_ERROR) return std::nullopt;
    return ModulesOf(*symbol);
}

}  // namespace bench
